#pragma once

class QWidget;

namespace basline {
// Draws the etched separator (a shadow line and a highlight line) across the top of the
// window's client area; the lines stay through repaints and resizes.
void EtchedLineDraw(QWidget& window);
} // namespace basline
