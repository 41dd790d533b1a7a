// Listing the sessions of one machine.
#include "console/kestrom.h"

#include "auxiliary/frmsearch.h"
#include "console/sessiongrid.h"
#include "oracle/failuretext.h"
#include "oracle/sessionquery.h"
#include "oracle/sessionrow.h"
#include "platform/blockingcall.h"
#include "platform/computername.h"
#include "platform/events.h"
#include "platform/msgbox.h"

#include <QLineEdit>
#include <QPushButton>
#include <array>

namespace {
constexpr int kResultColumns = 8;
// The cluster-wide list adds the instance as a last result column and grid column.
constexpr int kInstanceResultColumn = 8;
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
        mPCname = txtPcName->text().toUpper();
        SessionSearch();
    }
    frmSearch::Unload();
}

void Kestrom::SessionSearch() {
    SessionGrid* grid = MSFlexGrid1;
    int written = 0;
    const bool cluster = allInstances() && !mSingleInstanceOnly;
    showInstanceColumn(cluster);
    try {
        const std::shared_ptr<ora::OraDatabase> db = connectedDatabase();
        std::unique_ptr<ora::OraDynaset> dynaset = platform::BlockingCall([&] {
            return db->DbCreateDynaset(
                cluster ? ora::AllInstancesQuery(mPCname) : ora::SessionQuery(mPCname), 0);
        });
        const int columns = cluster ? kResultColumns + 1 : kResultColumns;
        if (dynaset->fieldsCount() < columns)
            throw ora::OraError(QStringLiteral("検索結果の列が足りません。"));
        std::array<ora::OraField*, kResultColumns + 1> fields{};
        for (int i = 0; i < columns; ++i)
            fields[static_cast<size_t>(i)] = &dynaset->Fields(i);

        grid->setRows(static_cast<int>(dynaset->RecordCount()) + 1);
        int row = 0;
        while (!dynaset->isEOF()) {
            ++row;
            grid->setRow(row);
            // Every cell is turned into text before any is written, so a row is either
            // written whole or not at all.
            std::array<QString, kResultColumns + 2> cells;
            cells[0] = QString::number(row);
            for (int c = 0; c < kResultColumns - 1; ++c)
                cells[static_cast<size_t>(c + 1)] =
                    ora::FieldText(fields[static_cast<size_t>(c)]->value());
            cells[kResultColumns] = ora::LogonTimeText(fields[kResultColumns - 1]->value());
            if (cluster)
                cells[kInstanceColumn] = ora::FieldText(fields[kInstanceResultColumn]->value());
            for (int c = 0; c < grid->Cols(); ++c) {
                grid->setCol(c);
                grid->setText(cells[static_cast<size_t>(c)]);
            }
            written = row;
            dynaset->DbMoveNext();
        }
        grid->setCol(0);
        dynaset.reset();
        cmdSessionCt->setEnabled(true);
        grid->setFocus();
    } catch (const ora::OraError& error) {
        // Only what this search wrote stays: rows of an earlier search must not pass for its
        // results.
        grid->setRows(written + 1);
        mStrFlg = 0;
        mSearchError = error.description();
        if (mLogFlg == 0)
            reportSearchFailure(error.description());
        mLogFlg = 0;
    }
}

void Kestrom::reportSearchFailure(const QString& description) {
    platform::MsgBox(
        ora::FailureText(QStringLiteral("以下の理由により検索できませんでした。"), description),
        platform::vbInformation);
}

void Kestrom::GetMyPcName() {
    QString name;
    if (!platform::GetComputerName(name))
        name = QStringLiteral("????????");
    mPCname = name;
    txtPcName->setText(name);
    mMyPCname = name;
}
