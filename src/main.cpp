#include "platform/events.h"
#include "platform/fonts.h"
#include "platform/mainform.h"
#include "platform/sessionend.h"
#include "platform/translations.h"
#include "start/frmstart.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrom"));
    platform::InstallFontSubstitutions();
    platform::InstallJapaneseQtTexts();
    // Logging out, a closed terminal or Ctrl+C end the program as its close box does: the
    // database is logged off and the program ends with 0.
    platform::OnSessionEnd([] {
        if (QWidget* main = platform::MainForm())
            main->close();
        platform::EndProgram();
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
    delete platform::MainForm();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
