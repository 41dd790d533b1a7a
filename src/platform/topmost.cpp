#include "platform/topmost_internal.h"

#include <QWidget>

namespace platform {
void SetTopMost(QWidget* window, bool topmost) {
    if (SystemSetTopMost(window, topmost))
        return;
    if (window->testAttribute(Qt::WA_WState_Created) &&
        window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    // Changing a window flag hides the window; show it again as it was.
    if (visible)
        window->show();
}

bool IsTopMost(const QWidget* window) {
    if (const std::optional<bool> system = SystemIsTopMost(window))
        return *system;
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}
} // namespace platform
