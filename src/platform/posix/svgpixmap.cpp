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

void DrawSvg(QPainter& painter, const QString& path) {
    QSvgRenderer renderer(path);
    if (renderer.isValid())
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(renderer.defaultSize())));
}
} // namespace platform
