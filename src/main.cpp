#include "classic/events.h"
#include "classic/mainform.h"
#include "decor/version.h"
#include "platform/console.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/processguard.h"
#include "platform/sessionend.h"
#include "platform/translations.h"
#include "start/commandline.h"
#include "start/frmstart.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    // Before anything holds a password.
    platform::KeepMemoryPrivate();
    // Only a command line with something to answer reaches for the starting console.
    if (argc > 1)
        platform::ConnectParentConsole();
    platform::WindowTarget target;
    if (const auto code = HandleCommandLine(argc, argv, target))
        return *code;
    platform::DisplayGuard display(target);
    if (!display.reachable())
        return 1;
    QApplication app(argc, argv);
    display.opened();
    QApplication::setApplicationName(QStringLiteral("Kestrom"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROM_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(KESTROM_APP_ID));
    platform::InstallFontSubstitutions();
    platform::InstallJapaneseQtTexts();
    // Logging out, a closed terminal or Ctrl+C end the program as its close box does: the
    // database is logged off and the program ends with 0.
    platform::OnSessionEnd([] {
        if (QWidget* main = classic::MainForm())
            main->close();
        classic::EndProgram();
    });
    auto* start = new FrmStart;
    if (!start->Form_Load()) {
        delete start;
        return 0;
    }
    start->show();
    const int code = QApplication::exec();
    // Nothing of the main window runs any more; the other windows unload themselves with
    // deferred deletes, let those run before the end.
    delete classic::MainForm();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
