#include "commandline.h"
#include "display.h"
#include "fonts.h"
#include "frmstart.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (const auto code = HandleCommandLine(argc, argv))
        return *code;
    if (!platform::DisplayReachable()) {
        std::fputs("kestrom: cannot open a window: no X11 or Wayland display can be reached "
                   "(DISPLAY, WAYLAND_DISPLAY)\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrom"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROM_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(KESTROM_APP_ID));
    platform::InstallFontSubstitutions();
    auto* start = new FrmStart;
    if (!start->Form_Load()) {
        delete start;
        return 0;
    }
    start->show();
    const int code = QApplication::exec();
    // The windows unload themselves with deferred deletes; let those run before the end.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
