#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace platform {
// Renders an SVG resource at the given pixel size; a null pixmap when it cannot be read.
QPixmap SvgPixmap(const QString& path, const QSize& size);
} // namespace platform
