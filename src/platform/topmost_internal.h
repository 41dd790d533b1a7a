#pragma once

#include "platform/topmost.h"

#include <optional>

// The window system's own part of SetTopMost and IsTopMost.
namespace platform {
// The window system's own topmost call, where it has one for the window: false when it has
// none, and Qt's stays-on-top flag is used instead.
bool SystemSetTopMost(QWidget* window, bool topmost);
// What the window system says of the window, where it keeps the state itself.
std::optional<bool> SystemIsTopMost(const QWidget* window);
} // namespace platform
