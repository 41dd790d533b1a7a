#pragma once

#include <QRectF>

class QWidget;

namespace classic {

// Window arithmetic is done in twips (1/1440 inch) as single-precision floats, as the
// window descriptions give it; pixels appear only where a widget is placed.
float TwipsPerPixelX();
float TwipsPerPixelY();
int TwipsToPixelsX(float twips);
int TwipsToPixelsY(float twips);
float PixelsToTwipsX(int pixels);
float PixelsToTwipsY(int pixels);

// The full primary screen (not the work area), in twips.
float ScreenWidthTwips();
float ScreenHeightTwips();

// A window's outer rectangle (frame and caption included) in twips.
QRectF OuterRectTwips(const QWidget* window);
// Moves a window so that its outer top-left corner lies at (left, top) twips.
void MoveOuterTwips(QWidget* window, float left, float top);

// Centres a window on the full screen by its outer size: top = (screen height - height) / 2,
// left = (screen width - width) / 2, in twips, halves left to the pixel conversion.
void CentreOnScreen(QWidget* window);

// A control's rectangle inside its container, in twips.
QRectF ControlRectTwips(const QWidget* control);
void SetControlRectTwips(QWidget* control, const QRectF& twips);

} // namespace classic
