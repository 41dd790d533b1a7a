#pragma once

#include <QtGlobal>

class QWidget;

namespace classic {

// A rectangle in screen pixels as the window system hands it over: edges, not a size.
// right < left or bottom < top is allowed and kept as it is.
struct WinRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    friend bool operator==(const WinRect&, const WinRect&) = default;
};

struct WinPoint {
    qint32 x = 0;
    qint32 y = 0;
    friend bool operator==(const WinPoint&, const WinPoint&) = default;
};

// The window's outer rectangle in screen pixels.
WinRect GetWindowRect(const QWidget* window);
// The mouse cursor's position in screen pixels.
WinPoint GetCursorPos();

// The same area with both pairs of edges exchanged.
constexpr WinRect Mirror(const WinRect& r) {
    return {r.right, r.bottom, r.left, r.top};
}
// The empty rectangle at a point.
constexpr WinRect CursorRect(const WinPoint& p) {
    return {p.x, p.y, p.x, p.y};
}

} // namespace classic
