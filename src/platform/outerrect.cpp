#include "platform/outerrect.h"

#include <QWidget>

namespace platform {
QMargins FrameMargins(const QWidget* window) {
    const QRect inner = window->geometry();
    if (window->isVisible() || !window->isWindow()) {
        const QRect outer = window->frameGeometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    return FrameBeforeShowing(window).value_or(QMargins());
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
