// Ending the session of the grid's current row.
#include "kestrom.h"

#include "oracle/failuretext.h"
#include "oracle/sessionkill.h"
#include "platform/blockingcall.h"
#include "platform/msgbox.h"
#include "platform/pointer.h"
#include "sessiongrid.h"

void Kestrom::cmdSessionCt_Click() {
    SessionGrid* grid = MSFlexGrid1;
    if (grid->Rows() == 1)
        return;
    try {
        grid->setCol(1);
        const QString sid = grid->Text();
        grid->setCol(2);
        const QString serial = grid->Text();
        grid->setCol(4);
        const QString terminal = grid->Text();

        if (ora::IsOtherMachine(terminal, mMyPCname)) {
            const int answer = platform::MsgBox(
                QStringLiteral(
                    "他人のセッションを切断しようとそています。\r\n処理を続けてもよろしいですか？"),
                platform::vbYesNo | platform::vbExclamation, QStringLiteral("切断確認"));
            if (answer == platform::vbNo)
                return;
        }

        const std::shared_ptr<ora::OraDatabase> db = connectedDatabase();
        try {
            platform::BlockingCall([&] { db->ExecuteSQL(ora::KillStatement(sid, serial)); });
        } catch (const ora::OraError& error) {
            if (!ora::KillAccepted(error))
                throw;
        }
        platform::MsgBox(QStringLiteral("セッションを切断しました。"), platform::vbInformation);
    } catch (const ora::OraError& error) {
        platform::MsgBox(ora::FailureText(QStringLiteral("以下の理由により切断できませんでした。"),
                                          error.description()),
                         platform::vbInformation);
        grid->setCol(1);
        return;
    }

    platform::SetMousePointer(this, platform::vbHourglass);
    SessionSearch();
    platform::SetMousePointer(this, platform::vbDefault);
}
