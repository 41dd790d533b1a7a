#include "platform/topmost_internal.h"

#include "platform/windows/nativewindow.h"

namespace platform {
bool SystemSetTopMost(QWidget* window, bool topmost) {
    const HWND hwnd = windows::NativeWindow(window);
    if (!hwnd)
        return false;
    // Only the z-order changes: position, size and activation stay as they are.
    SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return true;
}

std::optional<bool> SystemIsTopMost(const QWidget* window) {
    if (!window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    const HWND hwnd = windows::NativeWindow(window);
    if (!hwnd)
        return std::nullopt;
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
} // namespace platform
