#include "platform/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace platform {
void OnSessionEnd(std::function<void()> handler) {
    // Qt asks for the program's data on WM_QUERYENDSESSION and waits for the answer; Windows
    // ends the process soon after WM_ENDSESSION, so the work is done here, not queued.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp,
        [handler = std::move(handler)](QSessionManager&) { handler(); }, Qt::DirectConnection);
}
} // namespace platform
