#pragma once

class QWidget;

namespace platform {
// Puts a window that has just been shown on the screen painted, before the caller blocks the
// thread: waits briefly for the display to report it visible (events other than input run
// meanwhile), paints it at once and sends the drawing to the display.
void PaintNow(QWidget* window);
} // namespace platform
