#pragma once

#include <QString>
#include <QWidget>

// A borderless picture box: a still SVG image at its natural size in the top-left corner,
// on the box's own background; what does not fit is clipped.
class SvgPicture final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SvgPicture)
public:
    SvgPicture(const QString& resource, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString mResource;
};
