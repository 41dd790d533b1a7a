#include "platform/outerrect.h"

#include "platform/x11/xcb.h"

namespace platform {
namespace {
// The window manager answers within a few milliseconds; one that does not is not waited for.
constexpr int kFrameAnswerMs = 500;
} // namespace

std::optional<QMargins> FrameBeforeShowing(const QWidget* window) {
    return x11::RequestFrameExtents(window, kFrameAnswerMs);
}
} // namespace platform
