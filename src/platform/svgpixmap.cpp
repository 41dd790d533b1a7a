#include "platform/svgpixmap.h"

#include <QPainter>
#include <QSvgRenderer>

namespace platform {
QPixmap SvgPixmap(const QString& path, const QSize& size) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return QPixmap();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
} // namespace platform
