#include "classic/twips.h"
#include "decor/basline.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QtTest>

namespace {
const QColor kBackground(200, 200, 200);
const QColor kShadow(100, 0, 0);
const QColor kHighlight(0, 250, 0);
const QColor kControl(0, 0, 180);
} // namespace

class TestBasline : public QObject {
    Q_OBJECT

    static QWidget* makeWindow() {
        auto* window = new QWidget;
        QPalette pal = window->palette();
        pal.setColor(QPalette::Window, kBackground);
        pal.setColor(QPalette::Dark, kShadow);
        pal.setColor(QPalette::Light, kHighlight);
        window->setPalette(pal);
        window->setAutoFillBackground(true);
        window->resize(300, 100);
        return window;
    }

    static QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

private Q_SLOTS:
    void drawsShadowThenHighlightAcrossTheWidth() {
        std::unique_ptr<QWidget> window(makeWindow());
        basline::EtchedLineDraw(*window);
        QImage image = window->grab().toImage();
        const int second = classic::TwipsToPixelsY(10);
        QCOMPARE(second, 1);
        for (int x : {0, 150, 299}) {
            QCOMPARE(at(image, x, 0), kShadow);
            QCOMPARE(at(image, x, second), kHighlight);
            QCOMPARE(at(image, x, 2), kBackground);
        }

        // The lines are screen-wide, so a wider window is still crossed in full, and a
        // repaint draws them again.
        const int screen = QGuiApplication::primaryScreen()->geometry().width();
        window->resize(screen, 100);
        window->repaint();
        image = window->grab().toImage();
        QCOMPARE(at(image, screen - 1, 0), kShadow);
        QCOMPARE(at(image, screen - 1, 1), kHighlight);
    }

    void controlsStayAboveTheLines() {
        std::unique_ptr<QWidget> window(makeWindow());
        auto* control = new QLabel(window.get());
        control->setAutoFillBackground(true);
        QPalette pal = control->palette();
        pal.setColor(QPalette::Window, kControl);
        control->setPalette(pal);
        control->setGeometry(100, 0, 50, 20);
        basline::EtchedLineDraw(*window);
        const QImage image = window->grab().toImage();
        QCOMPARE(at(image, 120, 0), kControl);
        QCOMPARE(at(image, 120, 1), kControl);
        QCOMPARE(at(image, 90, 0), kShadow);
        // Clicks at the top edge still reach the control.
        QCOMPARE(window->childAt(120, 0), control);
    }
};

QTEST_MAIN(TestBasline)
#include "test_basline.moc"
