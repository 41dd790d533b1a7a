// Ending the session of the grid's current row.
#include "console/kestrom.h"

#include "classic/msgbox.h"
#include "classic/pointer.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "oracle/errorkind.h"
#include "oracle/sessiondisconnect.h"
#include "oracle/sessionops.h"

#include <QPushButton>

Kestrom::RowSession Kestrom::currentSession() const {
    SessionGrid* grid = MSFlexGrid1;
    grid->setCol(colSid);
    const QString sid = grid->Text();
    grid->setCol(colSerial);
    const QString serial = grid->Text();
    QString instance;
    if (grid->Cols() > colInstance) {
        grid->setCol(colInstance);
        instance = grid->Text();
    }
    grid->setCol(colTerminal);
    return {ora::ParseSessionKey(sid, serial, instance), grid->Text()};
}

void Kestrom::cmdSessionCt_Click() {
    if (MSFlexGrid1->Rows() == 1)
        return;
    killCurrentRow(false);
}

void Kestrom::KillImmediate_Click() {
    if (MSFlexGrid1->Rows() == 1 || !cmdSessionCt->isEnabled())
        return;
    killCurrentRow(true);
}

void Kestrom::killCurrentRow(bool immediate) {
    killSession(currentSession(), immediate);
}

void Kestrom::killSession(const RowSession& session, bool immediate) {
    endSession(session, immediate ? SessionEnd::KillImmediate : SessionEnd::Kill);
}

bool Kestrom::confirmedForSession(const RowSession& session, const QString& question,
                                  const QString& title) {
    if (!ora::IsOtherMachine(session.terminal, mMyPCname))
        return true;
    return classic::MsgBox(question, classic::vbYesNo | classic::vbExclamation, title) !=
           classic::vbNo;
}

void Kestrom::endSession(const RowSession& session, SessionEnd how) {
    const bool disconnect = how == SessionEnd::DisconnectAfterTransaction;
    // ORA-00031: the server ends the session as soon as it can (after its transaction, for a
    // disconnect); it stays listed meanwhile.
    bool marked = false;
    try {
        const ora::SessionKey key = keyOf(session);
        const QString question =
            how == SessionEnd::KillImmediate
                ? QStringLiteral("他人のセッションを即時切断しようとしています。\r\n"
                                 "処理を続けてもよろしいですか？")
            : disconnect ? QStringLiteral("他人のセッションをﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断しようとして"
                                          "います。\r\n処理を続けてもよろしいですか？")
                         : QStringLiteral("他人のセッションを切断しようとそています。\r\n"
                                          "処理を続けてもよろしいですか？");
        if (!confirmedForSession(session, question, QStringLiteral("切断確認")))
            return;

        const std::shared_ptr<ora::Connection> db = connection();
        const QString statement = disconnect
                                      ? ora::DisconnectStatement(key)
                                      : ora::KillStatement(key, how == SessionEnd::KillImmediate);
        ora::KillResult result;
        try {
            result = roundTrip(
                db, [statement](ora::OraDatabase& d) { return ora::EndSession(d, statement); });
        } catch (const ora::ConnectionGivenUp& error) {
            result = {ora::KillOutcome::Unknown, error};
        }
        if (mUnloaded)
            return;
        if (result.outcome == ora::KillOutcome::Unknown) {
            // The answer was lost: the session may have ended, may end yet, or not. The list
            // read next shows which.
            const bool lost = ora::ConnectionLost(*result.detail) || !db->open();
            if (!reportUnknownOutcome(
                    QStringLiteral("以下の理由により、ｾｯｼｮﾝが切断されたかどうか不明です。"),
                    *result.detail, lost))
                return;
        } else {
            marked = result.outcome == ora::KillOutcome::Marked;
            // A session left to end its transaction still runs: its details stay true.
            if (!(marked && disconnect))
                frmDetails::SessionEnded(key);
            classic::MsgBox(marked && disconnect
                                ? QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝの終了後にセッションを切断します。")
                                : QStringLiteral("セッションを切断しました。"),
                            classic::vbInformation);
        }
    } catch (const ora::OraError& error) {
        if (mUnloaded)
            return;
        noteFailure(error);
        reportFailure(QStringLiteral("以下の理由により切断できませんでした。"),
                      error.description());
        MSFlexGrid1->setCol(colSid);
        return;
    }

    if (mUnloaded)
        return;
    refreshList();
    if (marked && session.key) {
        if (disconnect)
            noteForSession(*session.key,
                           QStringLiteral("ｾｯｼｮﾝ %1,%2 はﾄﾗﾝｻﾞｸｼｮﾝの終了まで一覧に残り、"
                                          "その後切断されます。")
                               .arg(session.key->sid)
                               .arg(session.key->serial));
        else
            noteMarkedForKill(*session.key);
    }
}

bool Kestrom::reportUnknownOutcome(const QString& unknown, const ora::OraError& error,
                                   bool connectionLost) {
    const QString crlf = QStringLiteral("\r\n");
    if (!connectionLost) {
        reportFailure(
            unknown + crlf +
                QStringLiteral("一覧を更新しますので、ｾｯｼｮﾝが残っているか確認してください。"),
            error.description());
        return true;
    }
    if (mConnection)
        noteConnectionLost();
    reportFailure(unknown + crlf +
                      QStringLiteral("DBとの接続が切れたため、一覧は次の接続の後に読み込みます。"),
                  error.description());
    return false;
}

ora::SessionKey Kestrom::keyOf(const RowSession& session) {
    // The cells' texts go into the statement, so only numbers may pass.
    if (!session.key)
        throw ora::OraError(ora::NotASessionKeyText());
    return *session.key;
}

void Kestrom::refreshList() {
    classic::SetMousePointer(this, classic::vbHourglass);
    SessionSearch();
    classic::SetMousePointer(this, classic::vbDefault);
}

void Kestrom::noteMarkedForKill(const ora::SessionKey& key) {
    noteForSession(key, QStringLiteral("ｾｯｼｮﾝ %1,%2 は切断待ち。即時切断で直ちに終了します。")
                            .arg(key.sid)
                            .arg(key.serial));
}

void Kestrom::noteForSession(const ora::SessionKey& key, const QString& note) {
    // Before what the refreshed list says of itself, so that a narrow window cuts that
    // instead; the next search replaces both. A refresh on the timer shows it again while
    // the session is still listed.
    mHeldNote = {key, note};
    const QString listed = sbStatusBar->noticeText();
    sbStatusBar->setNoticeText(listed.isEmpty() ? note : note + QStringLiteral("　") + listed);
}
