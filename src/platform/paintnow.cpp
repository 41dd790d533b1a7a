#include "platform/paintnow_internal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {
// A window that bypasses the window manager is visible after one round trip to the display.
constexpr int kExposeWaitMs = 250;
} // namespace

void PaintNow(QWidget* window) {
    if (!window->isVisible())
        return;
    const QDeadlineTimer deadline(kExposeWaitMs);
    const QPointer<QWidget> alive(window);
    while (alive && window->windowHandle() && !window->windowHandle()->isExposed() &&
           !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    if (!alive || !window->isVisible())
        return;
    window->repaint();
    FlushDrawing();
}
} // namespace platform
