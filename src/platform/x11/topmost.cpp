#include "platform/topmost_internal.h"

namespace platform {
// X11 has no topmost call of its own: Qt's flag asks the window manager for "above".
bool SystemSetTopMost(QWidget*, bool) {
    return false;
}

std::optional<bool> SystemIsTopMost(const QWidget*) {
    return std::nullopt;
}
} // namespace platform
