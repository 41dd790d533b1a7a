#include "platform/display.h"

namespace platform {
bool DisplayReachable() {
    // A Windows program always runs on a desktop of its session.
    return true;
}
} // namespace platform
