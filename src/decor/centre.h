#pragma once

class QWidget;

namespace centre {

// An outer window rectangle in twips, single precision, as the window arithmetic keeps it.
struct TwipsRect {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

struct TwipsPos {
    float Left = 0;
    float Top = 0;
    friend bool operator==(const TwipsPos&, const TwipsPos&) = default;
};

// Where a window of the given outer size goes so that it sits over the middle of `main`.
// Not rounded and not clipped to the screen: a main window partly off-screen gives a
// position partly off-screen too.
TwipsPos CentreOver(const TwipsRect& main, float ownWidth, float ownHeight);

// Moves `window` to the middle of the program's main window (outer rectangles). Leaves it
// where it is while there is no main window.
void CentreOverMainForm(QWidget& window);

} // namespace centre
