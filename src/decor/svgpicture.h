#pragma once

#include <QString>
#include <QWidget>

// A borderless picture box: a still SVG image at its natural size in the top-left corner,
// on the box's own background; what does not fit is clipped.
class SvgPicture : public QWidget {
    Q_OBJECT
public:
    SvgPicture(const QString& resource, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString mResource;
};
