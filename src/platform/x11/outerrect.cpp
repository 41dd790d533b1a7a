#include "platform/outerrect.h"

#include "platform/x11/xcb.h"

#include <QWidget>

namespace platform {
namespace {
// The window manager answers within a few milliseconds; one that does not is not waited for.
constexpr int kFrameAnswerMs = 500;
} // namespace

QMargins FrameMargins(const QWidget* window) {
    const QRect inner = window->geometry();
    if (window->isVisible() || !window->isWindow()) {
        const QRect outer = window->frameGeometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    // Before the window manager has framed the window, it is asked what frame it will add.
    return x11::RequestFrameExtents(window, kFrameAnswerMs).value_or(QMargins());
}

QRect OuterRect(const QWidget* window) {
    if (window->isVisible() || !window->isWindow())
        return window->frameGeometry();
    return window->geometry().marginsAdded(FrameMargins(window));
}

void MoveOuter(QWidget* window, const QPoint& corner) {
    // move() places a shown window by its frame's corner, and one that does not exist natively
    // yet too; a window that exists but has not been framed yet is placed by its inner corner.
    const bool byInnerCorner = !window->isVisible() && window->testAttribute(Qt::WA_WState_Created);
    const QMargins frame = byInnerCorner ? FrameMargins(window) : QMargins();
    window->move(corner + QPoint(frame.left(), frame.top()));
}
} // namespace platform
