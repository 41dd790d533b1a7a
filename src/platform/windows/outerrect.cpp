#include "platform/outerrect.h"

#include "platform/windows/nativewindow.h"

#include <QWindow>

namespace platform {
namespace {
// The frame Windows puts around the window: it follows from the window's styles, which the
// native window has as soon as it exists, before it is first shown. This is the frame of the
// window's rectangle as Windows gives it (GetWindowRect), the same before and after showing;
// Qt's own frame geometry leaves out the resize border that Windows 10 draws invisible.
std::optional<QMargins> nativeFrame(const QWidget* window) {
    const HWND hwnd = windows::NativeWindow(window);
    if (!hwnd)
        return std::nullopt;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    const UINT dpi = GetDpiForWindow(hwnd);
    RECT rect{0, 0, 0, 0};
    // Qt's menu bar is a widget inside the client area, never a native menu.
    if (!AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle,
                                  dpi ? dpi : USER_DEFAULT_SCREEN_DPI))
        return std::nullopt;
    // Windows counts in device pixels; the windows are placed in Qt's scaled ones.
    const qreal ratio = window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0;
    const auto scaled = [ratio](LONG pixels) { return qRound(static_cast<qreal>(pixels) / ratio); };
    return QMargins(scaled(-rect.left), scaled(-rect.top), scaled(rect.right), scaled(rect.bottom));
}
} // namespace

QMargins FrameMargins(const QWidget* window) {
    if (window->isWindow()) {
        if (const std::optional<QMargins> frame = nativeFrame(window))
            return *frame;
    }
    // Not a window of Windows' own (a child, or Qt's offscreen platform): Qt's frame, if any.
    if (!window->isVisible() && window->isWindow())
        return QMargins();
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

QRect OuterRect(const QWidget* window) {
    return window->geometry().marginsAdded(FrameMargins(window));
}

void MoveOuter(QWidget* window, const QPoint& corner) {
    // Placed by its inner corner: move() would go by Qt's frame, which differs from Windows'.
    const QMargins frame = window->isWindow() ? FrameMargins(window) : QMargins();
    window->setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), window->size()));
}
} // namespace platform
