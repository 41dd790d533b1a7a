#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace platform {
// The frame (border and caption) around a top-level window. Before a window manager has
// framed the window (before its first showing) the frame it will add is asked for, so that
// windows can be placed by their real outer size before they appear.
QMargins FrameMargins(const QWidget* window);
// A top-level window's outer rectangle in screen pixels, frame and caption included.
QRect OuterRect(const QWidget* window);
// Moves a top-level window so that its outer top-left corner lies at `corner`.
void MoveOuter(QWidget* window, const QPoint& corner);
} // namespace platform
