// The details of one session, read in one round trip, in their own window.
#include "console/kestrom.h"

#include "classic/msgbox.h"
#include "classic/pointer.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "oracle/sessionops.h"

void Kestrom::Details_Click() {
    showDetails(MSFlexGrid1->Row());
}

void Kestrom::showDetails(int row) {
    SessionGrid* grid = MSFlexGrid1;
    if (row < 1 || row >= grid->Rows() || !mConnection)
        return;
    grid->setRow(row);
    const RowSession session = currentSession();
    grid->setCol(colNo);
    const std::optional<ora::SessionKey>& key = session.key;
    std::weak_ptr<ora::Connection> source;
    SessionDetails details;
    try {
        // The cells' texts go into the statement, so only numbers may pass.
        if (!key)
            throw ora::OraError(ora::NotASessionKeyText());
        details.key = *key;
        details.terminal = session.terminal;
        const std::shared_ptr<ora::Connection> db = connection();
        source = db;
        classic::SetMousePointer(this, classic::vbHourglass);
        const ora::SessionKey k = *key;
        const std::optional<ora::DetailsRead> texts =
            roundTrip(db, [k](ora::OraDatabase& d) { return ora::ReadDetails(d, k); });
        classic::SetMousePointer(this, classic::vbDefault);
        if (mUnloaded)
            return;
        if (!texts) {
            classic::MsgBox(QStringLiteral("ｾｯｼｮﾝ %1,%2 はすでに存在しません。\r\n"
                                           "一覧を更新してください（F5）。")
                                .arg(key->sid)
                                .arg(key->serial),
                            classic::vbInformation);
            return;
        }
        details.texts = texts->texts;
        details.connectedInstance = texts->connectedInstance;
        if (texts->connectedInstance > 0)
            mConnectedInstance = texts->connectedInstance;
        if (texts->catalogRefused)
            sbStatusBar->setNoticeText(
                QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝと長時間操作は、SELECT_CATALOG_ROLE ﾛｰﾙ"
                               "（または SELECT ANY DICTIONARY 権限）があると表示されます。"));
    } catch (const ora::OraError& error) {
        classic::SetMousePointer(this, classic::vbDefault);
        if (mUnloaded)
            return;
        noteFailure(error);
        reportFailure(QStringLiteral("以下の理由により詳細を取得できませんでした。"),
                      error.description());
        return;
    }
    // The connection may have closed while the details were read.
    if (mUnloaded || !mConnection || mConnection != source.lock())
        return;
    // Each request acts on the connection the details were read on, or not at all.
    auto sameConnection = [this, source] { return mConnection && mConnection == source.lock(); };
    frmDetails::Requests requests;
    requests.kill = [this, sameConnection](const ora::SessionKey& k, const QString& t) {
        if (sameConnection())
            killSession({k, t}, true);
    };
    requests.cancel = [this, sameConnection](const ora::SessionKey& k, const QString& t) {
        if (sameConnection())
            cancelSql({k, t});
    };
    requests.disconnect = [this, sameConnection](const ora::SessionKey& k, const QString& t) {
        if (sameConnection())
            disconnectSession({k, t});
    };
    requests.toRoot = [this, sameConnection,
                       node = details.connectedInstance](const ora::BlockerRef& root) {
        if (sameConnection())
            goToRootBlocker(root, node);
    };
    frmDetails::Show(this, details, std::move(requests));
}
