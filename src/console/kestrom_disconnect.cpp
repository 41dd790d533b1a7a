// Ending a session once its transaction has ended.
#include "console/kestrom.h"

#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "oracle/sessiondisconnect.h"

#include <QPushButton>

void Kestrom::DisconnectAfterTransaction_Click() {
    if (MSFlexGrid1->Rows() == 1 || !cmdSessionCt->isEnabled())
        return;
    disconnectSession(currentSession());
}

QString Kestrom::disconnectRefusal(const RowSession& session) {
    if (!session.key || session.key->instance == 0)
        return QString();
    // Only a session of another instance needs the connection's own; it is read once.
    if (mConnectedInstance == 0 && mConnection) {
        try {
            const std::optional<qint64> instance = roundTrip(
                connection(), [](ora::OraDatabase& d) { return ora::ReadConnectedInstance(d); });
            mConnectedInstance = instance.value_or(0);
        } catch (const ora::OraError& error) {
            noteFailure(error);
        }
    }
    if (ora::DisconnectReaches(*session.key, mConnectedInstance))
        return QString();
    return mConnectedInstance > 0
               ? QStringLiteral(
                     "接続先ｲﾝｽﾀﾝｽ（%1）以外のｾｯｼｮﾝは、ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断できません。")
                     .arg(mConnectedInstance)
               : QStringLiteral("接続先ｲﾝｽﾀﾝｽが分からないため、ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断できません。");
}

void Kestrom::disconnectSession(const RowSession& session) {
    // The menu item is disabled for a session the statement cannot reach; this holds for a
    // request that comes another way too.
    const QString refusal = disconnectRefusal(session);
    if (!refusal.isEmpty()) {
        sbStatusBar->setNoticeText(refusal);
        return;
    }
    endSession(session, SessionEnd::DisconnectAfterTransaction);
}
