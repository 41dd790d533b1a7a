#include "classic/winrect.h"

#include "platform/outerrect.h"

#include <QCursor>
#include <QWidget>

namespace classic {

WinRect GetWindowRect(const QWidget* window) {
    const QRect r = platform::OuterRect(window);
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

WinPoint GetCursorPos() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

} // namespace classic
