#include "classic/mainform.h"
#include "classic/twips.h"
#include "decor/centre.h"

#include <QtTest>

Q_DECLARE_METATYPE(centre::TwipsRect)
Q_DECLARE_METATYPE(centre::TwipsPos)

namespace QTest {
template <> char* toString(const centre::TwipsPos& p) {
    return QTest::toString(QStringLiteral("(%1, %2)").arg(p.Left).arg(p.Top));
}
} // namespace QTest

class TestCentre : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void centresOverTheMainWindow_data() {
        QTest::addColumn<centre::TwipsRect>("main");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<centre::TwipsPos>("expected");
        // Halves are kept: nothing is rounded here.
        QTest::newRow("login dialog over a 9600 x 7200 window")
            << centre::TwipsRect{1500, 1500, 9600, 7200} << 5385.0f << 1470.0f
            << centre::TwipsPos{3607.5f, 4365.0f};
        QTest::newRow("main window partly off the screen")
            << centre::TwipsRect{-3000, -600, 4500, 1800} << 2880.0f << 480.0f
            << centre::TwipsPos{-2190.0f, 60.0f};
        QTest::newRow("own window larger than the main window")
            << centre::TwipsRect{0, 0, 2000, 1000} << 2850.0f << 2235.0f
            << centre::TwipsPos{-425.0f, -617.5f};
    }

    void centresOverTheMainWindow() {
        QFETCH(centre::TwipsRect, main);
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(centre::TwipsPos, expected);
        QCOMPARE(centre::CentreOver(main, width, height), expected);
    }

    void placesAWindowOverTheRegisteredMainWindow() {
        QWidget main;
        main.setGeometry(-200, 50, 300, 200);
        QWidget own;
        own.resize(100, 40);
        own.move(7, 9);

        classic::SetMainForm(nullptr);
        centre::CentreOverMainForm(own);
        QCOMPARE(own.pos(), QPoint(7, 9));

        classic::SetMainForm(&main);
        centre::CentreOverMainForm(own);
        QCOMPARE(own.pos(), QPoint(-200 + 150 - 50, 50 + 100 - 20));
        classic::SetMainForm(nullptr);
    }
};

QTEST_MAIN(TestCentre)
#include "test_centre.moc"
