// Listing the sessions of one machine.
#include "console/kestrom.h"

#include "classic/events.h"
#include "classic/msgbox.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "decor/frmsearch.h"
#include "oracle/errorkind.h"
#include "oracle/sessionops.h"
#include "platform/computername.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <array>
#include <charconv>
#include <iterator>

namespace {
const QString kAllInstancesKey = QStringLiteral("search/allInstances");

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
}
} // namespace

void Kestrom::cmdSearch_Click() {
    if (!mConnection) {
        CmdDB_Click();
        return;
    }
    frmSearch::Show();
    classic::DoEvents();
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
        const std::shared_ptr<ora::Connection> db = connection();
        const QString statement = listStatement(cluster);
        // The round trips are made on the connection's thread; the rows, already here, are
        // written into the grid as they are read.
        const std::shared_ptr<ora::SessionReader> reader =
            roundTrip(db, [statement, cluster](ora::OraDatabase& d) {
                return std::make_shared<ora::SessionReader>(d, statement, cluster);
            });
        const int columns = cluster ? kClusterListColumns : kListColumns;
        grid->setRows(static_cast<int>(reader->recordCount()) + 1);
        ora::SessionCells cells;
        ora::SessionUtf8 utf8;
        std::array<RowTexts::Cell, kClusterListColumns> row{};
        char number[16];
        while (reader->next(cells, &utf8)) {
            ++written;
            grid->setRow(written);
            const auto digits = std::to_chars(std::begin(number), std::end(number), written);
            row[colNo] = {{}, QByteArrayView(number, digits.ptr - number), true};
            for (int c = colSid; c < columns; ++c) {
                const auto at = static_cast<size_t>(kGridColumns[static_cast<size_t>(c)].result);
                row[static_cast<size_t>(c)] = {cells[at], utf8.utf8[at], utf8.isUtf8[at]};
            }
            grid->setRowCells(std::span(row.data(), static_cast<size_t>(columns)));
            grid->setCol(columns - 1);
        }
        // Sessions whose cells cannot be shown are left out and counted; they are never
        // offered for a kill.
        if (reader->skipped() > 0)
            grid->setRows(written + 1);
        const QString left = reader->skipped() > 0
                                 ? QStringLiteral("ｾｯｼｮﾝ%1件を表示できません（%2）")
                                       .arg(reader->skipped())
                                       .arg(reader->skipReason())
                                 : QString();
        const QString list = listNotice(written);
        sbStatusBar->setNoticeText(left.isEmpty() || list.isEmpty()
                                       ? QString(list + left)
                                       : QString(list + QStringLiteral("　") + left));
        grid->setCol(colNo);
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
        // A window closed during the search has nobody to tell.
        if (mLogFlg == 0 && !mUnloaded)
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
