#pragma once

#include <optional>

class QWidget;

namespace platform {
// Puts a top-level window above (or back among) the windows that are not themselves topmost.
void SetTopMost(QWidget* window, bool topmost);
// Whether a window is kept above the windows that are not topmost.
bool IsTopMost(const QWidget* window);

// The window system's own topmost call, where it has one for the window: false when it has
// none, and Qt's stays-on-top flag is used instead.
bool SystemSetTopMost(QWidget* window, bool topmost);
// What the window system says of the window, where it keeps the state itself.
std::optional<bool> SystemIsTopMost(const QWidget* window);
} // namespace platform
