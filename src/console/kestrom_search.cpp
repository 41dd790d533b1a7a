// Listing the sessions of one machine.
#include "console/kestrom.h"

#include "auxiliary/frmsearch.h"
#include "classic/blockingcall.h"
#include "classic/events.h"
#include "classic/msgbox.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "oracle/errorkind.h"
#include "oracle/sessionquery.h"
#include "oracle/sessionrow.h"
#include "platform/computername.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <array>

namespace {
const QString kAllInstancesKey = QStringLiteral("search/allInstances");

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
}
} // namespace

void Kestrom::cmdSearch_Click() {
    if (!OraDatabase) {
        CmdDB_Click();
        return;
    }
    frmSearch::Show();
    platform::DoEvents();
    // The window may have been closed while events ran; then there is nothing to search for.
    if (!mUnloaded) {
        mBlockersList = false;
        mPCname = txtPcName->text().toUpper();
        SessionSearch();
    }
    frmSearch::Unload();
}

void Kestrom::SessionSearch() {
    SessionGrid* grid = MSFlexGrid1;
    int written = 0;
    mSearchFailure.reset();
    const bool cluster = allInstances();
    showInstanceColumn(cluster);
    try {
        const std::shared_ptr<ora::OraDatabase> db = connectedDatabase();
        std::unique_ptr<ora::OraDynaset> dynaset =
            platform::BlockingCall([&] { return db->DbCreateDynaset(listStatement(cluster), 0); });
        const int columns = cluster ? kClusterListColumns : kListColumns;
        // The field each grid column shows; the row-number column shows none.
        std::array<ora::OraField*, kClusterListColumns> fields{};
        for (int c = colSid; c < columns; ++c) {
            const ora::ResultColumn result = kGridColumns[static_cast<size_t>(c)].result;
            if (result >= dynaset->fieldsCount())
                throw ora::OraError(QStringLiteral("検索結果の列が足りません。"));
            fields[static_cast<size_t>(c)] = &dynaset->Fields(result);
        }

        grid->setRows(static_cast<int>(dynaset->RecordCount()) + 1);
        int row = 0;
        // Sessions whose cells cannot be shown (a NULL sid, serial#, status or logon time)
        // are left out and counted; they are never offered for a kill.
        int skipped = 0;
        QString skipReason;
        while (!dynaset->isEOF()) {
            // Every cell is turned into text before any is written, so a row is either
            // written whole or not at all.
            std::array<QString, kClusterListColumns> cells;
            cells[colNo] = QString::number(row + 1);
            bool shown = true;
            for (int c = colSid; c < columns && shown; ++c) {
                const QVariant value = fields[static_cast<size_t>(c)]->value();
                try {
                    cells[static_cast<size_t>(c)] =
                        c == colLogonTime ? ora::LogonTimeText(value) : ora::FieldText(value);
                } catch (const ora::OraError& error) {
                    shown = false;
                    skipReason = error.description();
                }
            }
            if (shown) {
                ++row;
                grid->setRow(row);
                for (int c = colNo; c < columns; ++c) {
                    grid->setCol(c);
                    grid->setText(cells[static_cast<size_t>(c)]);
                }
                written = row;
            } else {
                ++skipped;
            }
            dynaset->DbMoveNext();
        }
        if (skipped > 0)
            grid->setRows(row + 1);
        const QString left =
            skipped > 0
                ? QStringLiteral("ｾｯｼｮﾝ%1件を表示できません（%2）").arg(skipped).arg(skipReason)
                : QString();
        const QString list = listNotice(row);
        sbStatusBar->setNoticeText(
            left.isEmpty() || list.isEmpty() ? list + left : list + QStringLiteral("　") + left);
        grid->setCol(colNo);
        dynaset.reset();
        cmdSessionCt->setEnabled(true);
        grid->setFocus();
    } catch (const ora::OraError& error) {
        // Only what this search wrote stays: rows of an earlier search must not pass for its
        // results.
        grid->setRows(written + 1);
        if (cluster && ora::MissingPrivilege(error)) {
            listWithoutCluster(error.description());
            return;
        }
        mStrFlg = 0;
        mSearchFailure = error;
        noteFailure(error);
        sbStatusBar->setNoticeText(QString());
        if (mLogFlg == 0)
            reportSearchFailure(error.description());
        mLogFlg = 0;
    }
}

void Kestrom::listWithoutCluster(const QString& reason) {
    // Unchecked, not stored: the setting stays for the next connection.
    AllInstances->setChecked(false);
    SessionSearch();
    // A user who may not read v$session either hears about that alone.
    if (!mSearchFailure)
        reportFailure(QStringLiteral("以下の理由により全ｲﾝｽﾀﾝｽのｾｯｼｮﾝを検索できませんでした。\r\n"
                                     "この接続では、接続先ｲﾝｽﾀﾝｽのｾｯｼｮﾝを表示します。"),
                      reason);
}

void Kestrom::reportSearchFailure(const QString& description) {
    reportFailure(QStringLiteral("以下の理由により検索できませんでした。"), description);
}

bool Kestrom::allInstances() const {
    return AllInstances->isChecked();
}

bool Kestrom::allInstancesSetting() {
    return Settings().value(kAllInstancesKey, false).toBool();
}

void Kestrom::AllInstances_Click() {
    Settings().setValue(kAllInstancesKey, AllInstances->isChecked());
}

void Kestrom::showInstanceColumn(bool shown) {
    SessionGrid* grid = MSFlexGrid1;
    const int cols = shown ? kClusterListColumns : kListColumns;
    if (grid->Cols() == cols)
        return;
    const int row = grid->Row();
    grid->setCols(cols);
    if (!shown)
        return;
    grid->setRow(0);
    setHeaderCell(kGridColumns[colInstance]);
    grid->setCol(colNo);
    grid->setRow(row);
}

void Kestrom::GetMyPcName() {
    QString name;
    if (!platform::GetComputerName(name))
        name = QStringLiteral("????????");
    mPCname = name;
    txtPcName->setText(name);
    mMyPCname = name;
}
