#include "decor/svgpicture.h"

#include "platform/svgpixmap.h"

#include <QPainter>

SvgPicture::SvgPicture(const QString& resource, QWidget* parent)
    : QWidget(parent), mResource(resource) {}

void SvgPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    platform::DrawSvg(painter, mResource);
}
