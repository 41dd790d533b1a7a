#include "console/mainlayout.h"

#include <QTest>

class TestMainLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void minimumSizeWorkedExample() {
        const mainlayout::Layout l = mainlayout::Compute(6000, 4500);
        // Exactly the minimum is left alone.
        QVERIFY(!l.windowWidth);
        QVERIFY(!l.windowHeight);
        QCOMPARE(l.frameWidth, 5625.0f);
        QCOMPARE(l.frameHeight, 2850.0f);
        QCOMPARE(l.gridWidth, 5385.0f);
        QCOMPARE(l.gridHeight, 1860.0f);
        QCOMPARE(l.exitLeft, 4170.0f);
        QCOMPARE(l.killTop, 2200.0f);
        QCOMPARE(l.exitTop, 2200.0f);
        QCOMPARE(l.separatorTop, 3500.0f);
        QCOMPARE(l.separatorWidth, 6120.0f);
    }

    void belowMinimumRaisesOnlyTheDraggedDirection() {
        const mainlayout::Layout narrow = mainlayout::Compute(5999.5f, 7000);
        QCOMPARE(narrow.windowWidth.value_or(-1), 6000.0f);
        QVERIFY(!narrow.windowHeight);
        // The later steps see the raised width and the untouched height.
        QCOMPARE(narrow.frameWidth, 5625.0f);
        QCOMPARE(narrow.frameHeight, 5350.0f);

        const mainlayout::Layout low = mainlayout::Compute(8000, 100);
        QVERIFY(!low.windowWidth);
        QCOMPARE(low.windowHeight.value_or(-1), 4500.0f);
        QCOMPARE(low.gridHeight, 1860.0f);
        QCOMPARE(low.separatorTop, 3500.0f);
    }

    void growingMovesAndStretchesByTheSameAmount() {
        const mainlayout::Layout base = mainlayout::Compute(9270, 6225);
        const mainlayout::Layout wide = mainlayout::Compute(9270 + 1500, 6225);
        const mainlayout::Layout tall = mainlayout::Compute(9270, 6225 + 900);
        // The designed window: the rules reproduce the designed frame.
        QCOMPARE(base.frameWidth, 8895.0f);
        QCOMPARE(base.frameHeight, 4575.0f);
        QCOMPARE(base.gridWidth, 8655.0f);
        QCOMPARE(base.exitLeft, 7440.0f);

        QCOMPARE(wide.frameWidth - base.frameWidth, 1500.0f);
        QCOMPARE(wide.gridWidth - base.gridWidth, 1500.0f);
        QCOMPARE(wide.separatorWidth - base.separatorWidth, 1500.0f);
        QCOMPARE(wide.exitLeft - base.exitLeft, 1500.0f);
        QCOMPARE(wide.killTop, base.killTop);
        QCOMPARE(wide.frameHeight, base.frameHeight);

        QCOMPARE(tall.frameHeight - base.frameHeight, 900.0f);
        QCOMPARE(tall.gridHeight - base.gridHeight, 900.0f);
        QCOMPARE(tall.killTop - base.killTop, 900.0f);
        QCOMPARE(tall.exitTop - base.exitTop, 900.0f);
        QCOMPARE(tall.separatorTop - base.separatorTop, 900.0f);
        QCOMPARE(tall.exitLeft, base.exitLeft);
        QCOMPARE(tall.frameWidth, base.frameWidth);
    }
};

QTEST_APPLESS_MAIN(TestMainLayout)
#include "test_mainlayout.moc"
