#include "classic/twips.h"

#include "platform/outerrect.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace classic {

namespace {
float dpiOr96(qreal dpi) {
    return dpi > 1.0 ? static_cast<float>(dpi) : 96.0f;
}
QScreen* primary() {
    return QGuiApplication::primaryScreen();
}
int round(float value) {
    return static_cast<int>(std::lround(value));
}
} // namespace

float TwipsPerPixelX() {
    QScreen* s = primary();
    return 1440.0f / (s ? dpiOr96(s->logicalDotsPerInchX()) : 96.0f);
}

float TwipsPerPixelY() {
    QScreen* s = primary();
    return 1440.0f / (s ? dpiOr96(s->logicalDotsPerInchY()) : 96.0f);
}

int TwipsToPixelsX(float twips) {
    return round(twips / TwipsPerPixelX());
}
int TwipsToPixelsY(float twips) {
    return round(twips / TwipsPerPixelY());
}
float PixelsToTwipsX(int pixels) {
    return static_cast<float>(pixels) * TwipsPerPixelX();
}
float PixelsToTwipsY(int pixels) {
    return static_cast<float>(pixels) * TwipsPerPixelY();
}

float ScreenWidthTwips() {
    QScreen* s = primary();
    return PixelsToTwipsX(s ? s->geometry().width() : 1024);
}

float ScreenHeightTwips() {
    QScreen* s = primary();
    return PixelsToTwipsY(s ? s->geometry().height() : 768);
}

QRectF OuterRectTwips(const QWidget* window) {
    const QRect r = platform::OuterRect(window);
    return QRectF(PixelsToTwipsX(r.x()), PixelsToTwipsY(r.y()), PixelsToTwipsX(r.width()),
                  PixelsToTwipsY(r.height()));
}

void MoveOuterTwips(QWidget* window, float left, float top) {
    platform::MoveOuter(window, QPoint(TwipsToPixelsX(left), TwipsToPixelsY(top)));
}

void CentreOnScreen(QWidget* window) {
    const QRectF outer = OuterRectTwips(window);
    const float top = (ScreenHeightTwips() - static_cast<float>(outer.height())) / 2;
    const float left = (ScreenWidthTwips() - static_cast<float>(outer.width())) / 2;
    MoveOuterTwips(window, left, top);
}

QRectF ControlRectTwips(const QWidget* control) {
    const QRect r = control->geometry();
    return QRectF(PixelsToTwipsX(r.x()), PixelsToTwipsY(r.y()), PixelsToTwipsX(r.width()),
                  PixelsToTwipsY(r.height()));
}

void SetControlRectTwips(QWidget* control, const QRectF& twips) {
    control->setGeometry(TwipsToPixelsX(static_cast<float>(twips.x())),
                         TwipsToPixelsY(static_cast<float>(twips.y())),
                         TwipsToPixelsX(static_cast<float>(twips.width())),
                         TwipsToPixelsY(static_cast<float>(twips.height())));
}

} // namespace classic
