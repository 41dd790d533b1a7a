#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

class QPainter;

namespace platform {
// The artwork is kept as SVG files (resources ":/art/NAME.svg"). Linux draws them with Qt Svg;
// the Windows build, which has no Qt Svg, carries images rendered from the same files at build
// time at several scales, and draws the one that fits the screen's scaling.

// Renders an SVG resource at the given size; a null pixmap when it cannot be read.
QPixmap SvgPixmap(const QString& path, const QSize& size);
// Draws an SVG resource at its natural size, its top-left corner at the painter's origin;
// nothing when it cannot be read.
void DrawSvg(QPainter& painter, const QString& path);
} // namespace platform
