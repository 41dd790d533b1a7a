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

void Kestrom::goToRootBlocker(const ora::BlockerRef& root, qint64 connectedInstance) {
    // A root of unknown instance is taken for one of the connection's own, as the server
    // names the instance of every blocker it names.
    const qint64 node = root.instance > 0 ? root.instance : connectedInstance;
    const bool local = node == connectedInstance;
    // The single-instance list cannot show it: said at once, the details and the list stay.
    auto elsewhere = [&] {
        classic::MsgBox(QStringLiteral("ﾌﾞﾛｯｸ元のｾｯｼｮﾝ %1（インスタンス %2）は接続先とは別の"
                                       "ｲﾝｽﾀﾝｽにあるため、この一覧には表示できません。\r\n"
                                       "全ｲﾝｽﾀﾝｽを選んでから、もう一度お試しください。")
                            .arg(root.sid)
                            .arg(node),
                        classic::vbInformation);
    };
    if (!allInstances() && !local) {
        elsewhere();
        return;
    }
    frmDetails::Unload();
    listBlockers();
    if (mUnloaded || !mConnection || mSearchFailure)
        return;
    SessionGrid* grid = MSFlexGrid1;
    // The cluster-wide list may have been refused meanwhile.
    const bool byInstance = grid->Cols() > colInstance;
    if (!byInstance && !local) {
        elsewhere();
        return;
    }
    for (int row = 1; row < grid->Rows(); ++row) {
        if (grid->TextMatrix(row, colSid) == QString::number(root.sid) &&
            (!byInstance || grid->TextMatrix(row, colInstance) == QString::number(node))) {
            // Current and focused: Delete ends exactly this session.
            grid->setRow(row);
            grid->setCol(colNo);
            grid->setFocus();
            return;
        }
    }
    // The chain has changed meanwhile.
    QString which = QString::number(root.sid);
    if (root.instance > 0)
        which += QStringLiteral("（インスタンス %1）").arg(root.instance);
    classic::MsgBox(QStringLiteral("ﾌﾞﾛｯｸ元のｾｯｼｮﾝ %1 は一覧にありません。").arg(which),
                    classic::vbInformation);
}
