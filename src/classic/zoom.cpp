#include "classic/zoom.h"
#include "classic/zoom_hook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPalette>
#include <QStyle>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace classic {

namespace {
constexpr int kDurationMs = 200;

struct ZoomState {
    bool hooked = false;
    QList<ZoomRecord> log;
};
ZoomState& state() {
    static ZoomState s;
    return s;
}

// Drawing needs left <= right and top <= bottom; the rectangles themselves stay as given.
QRect normalised(const WinRect& r) {
    return QRect(QPoint(std::min(r.left, r.right), std::min(r.top, r.bottom)),
                 QPoint(std::max(r.left, r.right), std::max(r.top, r.bottom)));
}

int lerp(int a, int b, double t) {
    return a + static_cast<int>(std::lround((b - a) * t));
}

// Slow start and end, as the caption appears to lift off and settle.
double ease(double t) {
    return t * t * (3.0 - 2.0 * t);
}

void play(const WinRect& from, const WinRect& to, int durationMs) {
    const QRect a = normalised(from);
    const QRect b = normalised(to);
    const int caption = std::max(4, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
    // A caption-coloured bar, as tall as a title bar (or the rectangle, if that is smaller),
    // travelling along the top edge between the two rectangles.
    QWidget bar(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    bar.setAttribute(Qt::WA_ShowWithoutActivating);
    bar.setAutoFillBackground(true);
    QPalette pal = bar.palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Highlight));
    bar.setPalette(pal);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const double t = std::min(1.0, static_cast<double>(clock.elapsed()) / durationMs);
        const double e = ease(t);
        const int height = std::clamp(lerp(a.height(), b.height(), e), 2, caption);
        bar.setGeometry(lerp(a.left(), b.left(), e), lerp(a.top(), b.top(), e),
                        std::max(2, lerp(a.width(), b.width(), e)), height);
        if (!bar.isVisible())
            bar.show();
        bar.repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (t >= 1.0)
            break;
        QThread::msleep(10);
    }
}
} // namespace

void DrawAnimatedRects(const QWidget* window, int kind, const WinRect& from, const WinRect& to) {
    if (state().hooked) {
        state().log.append({window ? window->objectName() : QString(), kind, from, to});
        return;
    }
    play(from, to, kDurationMs);
}

namespace ZoomHook {
void enable() {
    state().hooked = true;
}
QList<ZoomRecord> log() {
    return state().log;
}
void clear() {
    state().log.clear();
}
} // namespace ZoomHook

} // namespace classic
