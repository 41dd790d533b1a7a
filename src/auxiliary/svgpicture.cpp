#include "auxiliary/svgpicture.h"

#include <QPainter>

SvgPicture::SvgPicture(const QString& resource, QWidget* parent)
    : QWidget(parent), mRenderer(resource) {}

void SvgPicture::paintEvent(QPaintEvent*) {
    if (!mRenderer.isValid())
        return;
    QPainter painter(this);
    mRenderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(mRenderer.defaultSize())));
}
