// The sessions that block others, from every machine, and the way to the root of a chain.
#include "console/kestrom.h"

#include "classic/events.h"
#include "classic/msgbox.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/sessiongrid.h"
#include "decor/frmsearch.h"
#include "oracle/sessionquery.h"

void Kestrom::Blockers_Click() {
    if (!mConnection) {
        CmdDB_Click();
        return;
    }
    listBlockers();
}

void Kestrom::Refresh_Click() {
    // F5 shows again the list that is shown: the blockers, or the machine in the box.
    if (mBlockersList && mConnection)
        listBlockers();
    else
        cmdSearch_Click();
}

void Kestrom::listBlockers() {
    frmSearch::Show();
    classic::DoEvents();
    if (!mUnloaded) {
        // The machine name and its box stay as they are for the next search by name.
        mBlockersList = true;
        SessionSearch();
    }
    frmSearch::Unload();
}

QString Kestrom::listStatement(bool cluster) const {
    if (mBlockersList)
        return ora::BlockersQuery(cluster);
    return cluster ? ora::AllInstancesQuery(mPCname) : ora::SessionQuery(mPCname);
}

QString Kestrom::listNotice(int rows) const {
    if (!mBlockersList)
        return QString();
    return rows > 0 ? QStringLiteral("ﾌﾞﾛｯｸ中のｾｯｼｮﾝの一覧です。")
                    : QStringLiteral("ﾌﾞﾛｯｸ中のｾｯｼｮﾝはありません。");
}

void Kestrom::goToRootBlocker(const ora::BlockerRef& root) {
    frmDetails::Unload();
    listBlockers();
    if (mUnloaded || !mConnection || mSearchFailure)
        return;
    SessionGrid* grid = MSFlexGrid1;
    const bool byInstance = grid->Cols() > colInstance && root.instance > 0;
    for (int row = 1; row < grid->Rows(); ++row) {
        if (grid->TextMatrix(row, colSid) == QString::number(root.sid) &&
            (!byInstance || grid->TextMatrix(row, colInstance) == QString::number(root.instance))) {
            // Current and focused: Delete ends exactly this session.
            grid->setRow(row);
            grid->setCol(colNo);
            grid->setFocus();
            return;
        }
    }
    // The chain has changed meanwhile, or its root runs on an instance this list does not show.
    QString which = QString::number(root.sid);
    if (root.instance > 0)
        which += QStringLiteral("（インスタンス %1）").arg(root.instance);
    classic::MsgBox(QStringLiteral("ﾌﾞﾛｯｸ元のｾｯｼｮﾝ %1 は一覧にありません。").arg(which),
                    classic::vbInformation);
}
