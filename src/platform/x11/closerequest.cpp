#include "platform/closerequest.h"

#include "platform/x11/xcb.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace platform {
void OnCloseRequestWhileBlocked(QWidget* window, std::function<void()> handler) {
    const QPointer<QWidget> target(window);
    x11::WatchCloseRequests(window, [target, handler = std::move(handler)] {
        if (!target || !QApplication::activeModalWidget())
            return false; // not blocked: Qt delivers it as usual
        // Not from inside the window system's event delivery.
        QTimer::singleShot(0, target, handler);
        return true;
    });
}
} // namespace platform
