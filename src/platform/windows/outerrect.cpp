#include "platform/outerrect.h"

#include <QWidget>
#include <QWindow>

#include <windows.h>

namespace platform {
std::optional<QMargins> FrameBeforeShowing(const QWidget* window) {
    // Windows draws the frame itself, from the window's styles: the native window has them as
    // soon as it exists, before it is first shown, and the frame follows from them.
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
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
    // The system's frame is in device pixels; the windows are placed in Qt's scaled ones.
    const qreal ratio = window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0;
    const auto scaled = [ratio](LONG pixels) { return qRound(static_cast<qreal>(pixels) / ratio); };
    return QMargins(scaled(-rect.left), scaled(-rect.top), scaled(rect.right), scaled(rect.bottom));
}
} // namespace platform
