// Ending the session of the grid's current row.
#include "console/kestrom.h"

#include "classic/msgbox.h"
#include "classic/pointer.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "oracle/errorkind.h"
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

void Kestrom::killSession(const RowSession& session, bool immediate, bool askAlways) {
    // ORA-00031: the server ends the session as soon as it can; it stays listed meanwhile.
    bool marked = false;
    try {
        const ora::SessionKey key = keyOf(session);
        if (askAlways || ora::IsOtherMachine(session.terminal, mMyPCname)) {
            const QString question =
                immediate ? QStringLiteral("他人のセッションを即時切断しようとしています。\r\n"
                                           "処理を続けてもよろしいですか？")
                          : QStringLiteral("他人のセッションを切断しようとそています。\r\n"
                                           "処理を続けてもよろしいですか？");
            const int answer = classic::MsgBox(question, classic::vbYesNo | classic::vbExclamation,
                                               QStringLiteral("切断確認"));
            if (answer == classic::vbNo)
                return;
        }

        const std::shared_ptr<ora::Connection> db = connection();
        ora::KillResult result;
        try {
            result = roundTrip(db, [key, immediate](ora::OraDatabase& d) {
                return ora::KillSession(d, key, immediate);
            });
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
            frmDetails::SessionEnded(key);
            classic::MsgBox(QStringLiteral("セッションを切断しました。"), classic::vbInformation);
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
    if (marked && session.key)
        noteMarkedForKill(*session.key);
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
    // Before what the refreshed list says of itself, so that a narrow window cuts that
    // instead; the next search replaces both.
    const QString marked = QStringLiteral("ｾｯｼｮﾝ %1,%2 は切断待ち。即時切断で直ちに終了します。")
                               .arg(key.sid)
                               .arg(key.serial);
    const QString listed = sbStatusBar->noticeText();
    sbStatusBar->setNoticeText(listed.isEmpty() ? marked : marked + QStringLiteral("　") + listed);
}
