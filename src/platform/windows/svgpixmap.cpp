#include "platform/svgpixmap.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

namespace platform {
namespace {
// The build renders ":/art/NAME.svg" as ":/art/NAME.svg@SCALEx.png", SCALE 1 being the SVG's
// natural size. The renderings of one picture, by scale.
QMap<double, QString> renderings(const QString& path) {
    const QFileInfo svg(path);
    const QString prefix = svg.fileName() + QStringLiteral("@");
    QMap<double, QString> found;
    const QStringList names = svg.dir().entryList({prefix + QStringLiteral("*x.png")}, QDir::Files);
    for (const QString& name : names) {
        bool ok = false;
        const double scale = name.mid(prefix.size()).chopped(5).toDouble(&ok);
        if (ok && scale > 0)
            found.insert(scale, svg.dir().filePath(name));
    }
    return found;
}

// The smallest rendering at least `pixels` wide, else the largest.
QImage bestRendering(const QString& path, int pixels) {
    const QMap<double, QString> all = renderings(path);
    QImage best;
    for (const QString& file : all) {
        best = QImage(file);
        if (best.width() >= pixels)
            break;
    }
    return best;
}
} // namespace

QPixmap SvgPixmap(const QString& path, const QSize& size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    QImage image = bestRendering(path, pixels.width());
    if (image.isNull())
        return QPixmap();
    if (image.size() != pixels)
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void DrawSvg(QPainter& painter, const QString& path) {
    const QImage natural(renderings(path).value(1.0));
    if (natural.isNull())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage image = bestRendering(path, qCeil(natural.width() * ratio));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(natural.size())), image);
}
} // namespace platform
