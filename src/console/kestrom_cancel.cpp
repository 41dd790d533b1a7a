// Cancelling the statement a session runs, keeping the session.
#include "console/kestrom.h"

#include "classic/msgbox.h"
#include "console/gridcolumns.h"
#include "console/sessiongrid.h"
#include "oracle/errorkind.h"
#include "oracle/sessioncancel.h"

#include <QPushButton>

void Kestrom::CancelSql_Click() {
    if (MSFlexGrid1->Rows() == 1 || !cmdSessionCt->isEnabled())
        return;
    cancelSql(currentSession());
}

void Kestrom::cancelSql(const RowSession& session) {
    try {
        const ora::SessionKey key = keyOf(session);
        if (ora::IsOtherMachine(session.terminal, mMyPCname)) {
            const int answer = classic::MsgBox(
                QStringLiteral("他人のセッションで実行中のSQL文を中止しようとしています。\r\n"
                               "セッションは切断されません。処理を続けてもよろしいですか？"),
                classic::vbYesNo | classic::vbExclamation, QStringLiteral("中止確認"));
            if (answer == classic::vbNo)
                return;
        }
        const std::shared_ptr<ora::Connection> db = connection();
        try {
            roundTrip(db, [key](ora::OraDatabase& d) { d.ExecuteSQL(ora::CancelStatement(key)); });
        } catch (const ora::OraError& error) {
            // Sent, and its answer lost: the statement may have been cancelled, or not.
            if (!ora::AnswerLost(error) || mUnloaded)
                throw;
            const bool lost = ora::ConnectionLost(error) || !db->open();
            if (!reportUnknownOutcome(
                    QStringLiteral("以下の理由により、SQL文が中止されたかどうか不明です。"), error,
                    lost))
                return;
            refreshList();
            return;
        }
        if (mUnloaded)
            return;
        classic::MsgBox(QStringLiteral("SQL文を中止しました。"), classic::vbInformation);
    } catch (const ora::OraError& error) {
        if (mUnloaded)
            return;
        noteFailure(error);
        reportFailure(QStringLiteral("以下の理由によりSQL文を中止できませんでした。"),
                      error.description());
        MSFlexGrid1->setCol(colSid);
        return;
    }
    refreshList();
}
