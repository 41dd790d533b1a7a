#pragma once

class QWidget;

namespace platform {
// Puts a top-level window above (or back among) the windows that are not themselves topmost.
void SetTopMost(QWidget* window, bool topmost);
// Whether a window is kept above the windows that are not topmost.
bool IsTopMost(const QWidget* window);
} // namespace platform
