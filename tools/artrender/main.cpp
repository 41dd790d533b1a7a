// Renders SVG artwork on the build host for a build that cannot draw SVG itself.
//   kestrom-artrender png SVG OUTPUT-PREFIX SCALE...   OUTPUT-PREFIX@SCALEx.png for each
//                                                      scale of the picture's natural size
//   kestrom-artrender ico SVG OUTPUT.ico SIZE...       one icon file holding every size
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>

namespace {
int fail(const QString& why) {
    std::fprintf(stderr, "kestrom-artrender: %s\n", qPrintable(why));
    return 1;
}

QImage render(QSvgRenderer& svg, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    svg.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

int renderScales(QSvgRenderer& svg, const QString& prefix, const QStringList& scales) {
    for (const QString& scale : scales) {
        bool ok = false;
        const double factor = scale.toDouble(&ok);
        if (!ok || factor <= 0)
            return fail(QStringLiteral("not a scale: ") + scale);
        const QSize size(static_cast<int>(std::lround(svg.defaultSize().width() * factor)),
                         static_cast<int>(std::lround(svg.defaultSize().height() * factor)));
        const QString out = prefix + QLatin1Char('@') + scale + QStringLiteral("x.png");
        if (!render(svg, size).save(out, "PNG"))
            return fail(QStringLiteral("cannot write ") + out);
    }
    return 0;
}

// Qt's ICO writer stores one image a file; the images are written one by one and their
// directory entries and data gathered into one file.
int renderIcon(QSvgRenderer& svg, const QString& out, const QStringList& sizes) {
    QList<QByteArray> entries;
    QList<QByteArray> images;
    for (const QString& text : sizes) {
        const int size = text.toInt();
        if (size < 1 || size > 256)
            return fail(QStringLiteral("not an icon size: ") + text);
        QBuffer single;
        single.open(QIODevice::WriteOnly);
        QImageWriter writer(&single, "ico");
        if (!writer.write(render(svg, QSize(size, size))))
            return fail(QStringLiteral("Qt's ICO writer: ") + writer.errorString());
        const QByteArray file = single.data();
        // ICONDIR (6 bytes), one ICONDIRENTRY (16 bytes) whose last 4 give the data's offset.
        if (file.size() < 22)
            return fail(QStringLiteral("short ICO from Qt"));
        QDataStream entry(file.mid(6 + 12, 4));
        entry.setByteOrder(QDataStream::LittleEndian);
        quint32 offset = 0;
        entry >> offset;
        entries << file.mid(6, 12);
        images << file.mid(offset);
    }
    QByteArray icon;
    QDataStream stream(&icon, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * static_cast<quint32>(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        stream.writeRawData(entries[i].constData(), 12);
        stream << offset;
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images)
        stream.writeRawData(image.constData(), static_cast<int>(image.size()));
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(icon) != icon.size())
        return fail(QStringLiteral("cannot write ") + out);
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    // Text in the artwork needs Qt's fonts, and those a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 4)
        return fail(QStringLiteral("usage: png SVG PREFIX SCALE... | ico SVG OUT.ico SIZE..."));
    QSvgRenderer svg(args[1]);
    if (!svg.isValid())
        return fail(QStringLiteral("cannot read ") + args[1]);
    if (args[0] == QStringLiteral("png"))
        return renderScales(svg, args[2], args.mid(3));
    if (args[0] == QStringLiteral("ico"))
        return renderIcon(svg, args[2], args.mid(3));
    return fail(QStringLiteral("unknown mode ") + args[0]);
}
