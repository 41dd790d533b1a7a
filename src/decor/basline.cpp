#include "decor/basline.h"

#include "classic/twips.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace basline {

namespace {

const auto kFilterName = QStringLiteral("basline_EtchedLine");

// Paints the two lines on the window right after the window has painted itself, so they
// last like a persistent drawing: every repaint, resize and exposure draws them again, and
// the child controls, painted afterwards, stay on top of them.
class EtchedLine final : public QObject {
public:
    Q_DISABLE_COPY_MOVE(EtchedLine)
    explicit EtchedLine(QWidget& window) : QObject(&window) { setObjectName(kFilterName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        // The window's own painting first; event() does not pass through the filters again.
        static_cast<QObject*>(window)->event(event);
        draw(*window);
        return true;
    }

private:
    static void line(QPainter& painter, const QColor& colour, float yTwips) {
        const int y = classic::TwipsToPixelsY(yTwips);
        // As long as the screen is wide, so any later width of the window is crossed.
        const int right = classic::TwipsToPixelsX(classic::ScreenWidthTwips());
        painter.setPen(QPen(colour, 0));
        painter.drawLine(0, y, right, y);
    }

    static void draw(QWidget& window) {
        QPainter painter(&window);
        line(painter, window.palette().color(QPalette::Dark), 0);
        line(painter, window.palette().color(QPalette::Light), 10);
    }
};

} // namespace

void EtchedLineDraw(QWidget& window) {
    if (!window.findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly))
        window.installEventFilter(new EtchedLine(window));
    window.update();
}

} // namespace basline
