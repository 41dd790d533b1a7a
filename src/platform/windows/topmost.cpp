#include "platform/topmost.h"

#include <QWidget>

#include <windows.h>

namespace platform {
void SetTopMost(QWidget* window, bool topmost) {
    // Only the z-order changes: position, size and activation stay as they are.
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), topmost ? HWND_TOPMOST : HWND_NOTOPMOST,
                 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool IsTopMost(const QWidget* window) {
    if (!window->testAttribute(Qt::WA_WState_Created))
        return false;
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
} // namespace platform
