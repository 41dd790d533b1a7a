// Connecting and disconnecting.
#include "console/kestrom.h"

#include "classic/events.h"
#include "classic/msgbox.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "login/frmlink.h"
#include "login/hoststrings.h"
#include "oracle/errorkind.h"
#include "oracle/secret.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

namespace {
// The message says only that connecting failed. The client's own reason (a wrong password,
// an unknown host string, an expired account, a client library that cannot be loaded) is
// offered as the box's detail and written to standard error, so that they can be told apart.
void reportConnectFailure(const QString& title, const QString& reason) {
    const QString message = QStringLiteral("接続に失敗しました。");
    std::fprintf(stderr, "%s: %s %s\n", qPrintable(classic::ExeName()), qPrintable(message),
                 qPrintable(reason));
    classic::MsgBox(message, classic::vbExclamation, title, reason);
}
} // namespace

void Kestrom::CmdDB_Click() {
    if (mDbLinkFlg != 0) {
        Disconnect();
        return;
    }
    // A failed login or privilege probe asks again, until a connection is made or the user
    // cancels; a loop rather than a call from the failure handler keeps the stack flat.
    bool askAgain = true;
    while (askAgain) {
        const qint16 confirmed = mLoginPrompt(mSetID, mSetPass, mSetMoji);
        pUsrID = mSetID;
        pHost = mSetMoji;
        if (!confirmed) {
            CmdDB->setFocus();
            return;
        }
        askAgain = DbConnect() && !mUnloaded;
    }
    if (!mConnection)
        return;
    RememberHostString(pHost);
    Link->setEnabled(false);
    Cutting->setEnabled(true);
    txtPcName->setFocus();
    mDbLinkFlg = -1;
    CmdDB->setText(QStringLiteral("ＤＢ切断"));
    sbStatusBar->setPanelText(1, QStringLiteral("- DB接続中 -"));
    sbStatusBar->setPanelText(2, pUsrID + QStringLiteral(" / ") + pHost);
    setAutoRefreshChoice(autoRefreshSetting());
}

std::shared_ptr<ora::Connection> Kestrom::connection() const {
    if (!mConnection)
        throw ora::OraError(QStringLiteral("ORA-03114: not connected to ORACLE"), 3114);
    return mConnection;
}

void Kestrom::Disconnect() {
    closeDatabaseQuietly();
    Link->setEnabled(true);
    Cutting->setEnabled(false);
    cmdSessionCt->setEnabled(false);
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setCol(colNo);
    mDbLinkFlg = 0;
    mBlockersList = false;
    CmdDB->setText(QStringLiteral("ＤＢ接続"));
    sbStatusBar->setPanelText(1, QStringLiteral("- DB未接続 -"));
    sbStatusBar->setPanelText(2, QString());
    sbStatusBar->setNoticeText(QString());
    mTargetLost = false;
    mHeldNote.reset();
    mConnectedInstance = 0;
    updateAutoRefresh();
}

bool Kestrom::DbConnect() {
    const QString title = classic::ExeName();
    std::shared_ptr<ora::Connection> connection;
    try {
        closeDatabaseQuietly();
        OraSession = ora::CreateSession();
        const QString crlf = QStringLiteral("\r\n");
        if (mSetID.isEmpty()) {
            classic::MsgBox(QStringLiteral("ﾕｰｻﾞIDが未入力です。") + crlf, classic::vbExclamation,
                            title);
            return false;
        }
        // The user ID "/" brings its own credentials, and names the local database when no
        // host string is given.
        const bool external = frmLink::ExternalUserId(mSetID);
        if (mSetPass.isEmpty() && !external) {
            classic::MsgBox(QStringLiteral("ﾊﾟｽﾜｰﾄﾞが未入力です。") + crlf, classic::vbExclamation,
                            title);
            return false;
        }
        if (mSetMoji.isEmpty() && !external) {
            classic::MsgBox(QStringLiteral("接続文字列が未入力です。") + crlf,
                            classic::vbExclamation, title);
            return false;
        }
        // A host that does not answer may hold the logon for minutes, and a logon cannot be
        // broken off: Esc gives it up, and a logon that completes afterwards is logged off on
        // its thread. The window holds the connection from the start, so that a close that
        // comes meanwhile logs it off too.
        connection = std::make_shared<ora::Connection>();
        mConnection = connection;
        callwait::Wait(
            *connection,
            connection->logon(OraSession, mSetMoji, mSetID + QStringLiteral("/") + mSetPass),
            sbStatusBar, true);
        if (mConnection != connection)
            return false; // closed as the logon returned
        mPCname = txtPcName->text().toUpper();
    } catch (const ora::CallAbandoned&) {
        if (mConnection && mConnection == connection)
            closeDatabaseQuietly();
        if (mUnloaded)
            return false;
        classic::MsgBox(QStringLiteral("接続を中止しました。"), classic::vbExclamation, title);
        return true;
    } catch (const ora::OraError& error) {
        if (mConnection && mConnection == connection)
            closeDatabaseQuietly();
        if (mUnloaded)
            return false;
        reportConnectFailure(title, error.description());
        return true;
    }

    // A cluster list refused on the last connection is tried again on this one.
    AllInstances->setChecked(allInstancesSetting());
    mStrFlg = -1;
    mLogFlg = -1;
    mBlockersList = false;
    SessionSearch();
    mLogFlg = 0;
    if (mStrFlg == -1 || mUnloaded)
        return false;

    if (mSearchFailure && !ora::MissingPrivilege(*mSearchFailure)) {
        // A lost connection or a failed fetch says nothing about privileges.
        reportConnectFailure(title, mSearchFailure->description());
    } else {
        // The probe could not read v$session: this user may not work on sessions.
        classic::MsgBox(QStringLiteral("このﾕｰｻﾞでは、ｾｯｼｮﾝを操作するための権限がありません。") +
                            QStringLiteral("\r\n") +
                            QStringLiteral("ORACLEで設定されているSystem権限を確認してください。"),
                        classic::vbExclamation, title);
    }
    Disconnect();
    classic::DoEvents();
    return true;
}

void Kestrom::noteFailure(const ora::OraError& error) {
    if (!mConnection || !ora::ConnectionLost(error))
        return;
    noteConnectionLost();
}

void Kestrom::noteConnectionLost() {
    sbStatusBar->setPanelText(1, QStringLiteral("- DB接続断 -"));
    frmDetails::Unload();
    setAutoRefreshChoice(0);
}
