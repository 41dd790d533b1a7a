#include "platform/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <utility>
#include <windows.h>

namespace platform {
void OnSessionEnd(std::function<void()> handler) {
    // Qt asks for the program's data on WM_QUERYENDSESSION and waits for the answer; Windows
    // ends the process soon after WM_ENDSESSION, so the work is done here, not queued.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp,
        [handler = std::move(handler)](QSessionManager&) {
            static bool handled = false;
            if (std::exchange(handled, true))
                return;
            handler();
            // Logged off and asked to end: Windows terminates whatever is left of the process
            // right after WM_ENDSESSION, often before the event loop has returned to main. The
            // program ends itself, with 0, as soon as Qt quits (at WM_ENDSESSION or when the
            // loop ends, whichever comes first).
            QObject::connect(
                qGuiApp, &QCoreApplication::aboutToQuit, qGuiApp, [] { ExitProcess(0); },
                Qt::DirectConnection);
        },
        Qt::DirectConnection);
}
} // namespace platform
