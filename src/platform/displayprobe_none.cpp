// The display check where the window system has no display to reach apart from Qt's platform
// plugin (Windows): nothing to ask beforehand; a plugin that cannot start is still reported
// in one line by the guard.
#include "platform/displayprobe.h"

namespace platform {

std::optional<DisplayProblem> ProbeDisplay(const WindowTarget&) {
    return std::nullopt;
}

void CloseProbe() {}

QString DisplayName(const WindowTarget&) {
    return QString();
}

} // namespace platform
