#include "classic/mainform.h"
#include "decor/dasPBer.h"
#include "decor/frmsearch.h"
#include "platform/topmost.h"
#include "testsupport.h"

#include <QPointer>
#include <QtTest>

class TestFrmSearch : public QObject {
    Q_OBJECT

    QWidget mMain;

    static bool topmost() { return platform::IsTopMost(frmSearch::instance()); }

private Q_SLOTS:
    void initTestCase() {
        testsupport::initWindowTests();
        mMain.setGeometry(100, 100, 640, 480);
        classic::SetMainForm(&mMain);
    }

    void cleanup() { frmSearch::Unload(); }

    void showsATopmostBannerOverTheMainWindow() {
        frmSearch::Show();
        frmSearch* window = frmSearch::instance();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(window->hWnd() != 0);
        QVERIFY(topmost());
        // 640 x 480 at (100, 100): (420 - 96, 340 - 16).
        QCOMPARE(window->pos(), QPoint(324, 324));
    }

    void topMostSetFollowsTheFlag() {
        frmSearch::Show();
        qint16 flag = 0;
        dasPBer::TopMostSet(flag);
        QVERIFY(!topmost());
        flag = -1;
        dasPBer::TopMostSet(flag);
        QVERIFY(topmost());
        // Only exactly -1 means topmost.
        flag = 1;
        dasPBer::TopMostSet(flag);
        QVERIFY(!topmost());
        QVERIFY(frmSearch::instance()->isVisible());
    }

    void topMostSetDoesNothingWithoutAHandle() {
        qint16 flag = -1;
        dasPBer::TopMostSet(flag); // not loaded at all
        QVERIFY(!frmSearch::instance());

        frmSearch::Show();
        frmSearch::instance()->close(); // the handle is cleared as it closes
        QCOMPARE(frmSearch::instance()->hWnd(), quintptr(0));
        flag = 0;
        dasPBer::TopMostSet(flag);
        QVERIFY(topmost());
    }

    void followsTheMainWindowWhileShown() {
        // Shown, as while a call waits; the window is moved and resized under the banner.
        mMain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mMain));
        frmSearch::Show();
        frmSearch* window = frmSearch::instance();
        QVERIFY(window);
        auto centred = [&] {
            const QPoint main = mMain.frameGeometry().center();
            const QPoint own = window->frameGeometry().center();
            return (main - own).manhattanLength() <= 2;
        };
        QVERIFY(centred());
        mMain.move(mMain.pos() + QPoint(150, 90));
        QTRY_VERIFY(centred());
        mMain.resize(500, 300);
        QTRY_VERIFY(centred());
        mMain.setGeometry(100, 100, 640, 480);
        QTRY_COMPARE(window->pos(), QPoint(324, 324));
        frmSearch::Unload();
        mMain.hide();
    }

    void eachShowLoadsAndPlacesAnew() {
        frmSearch::Show();
        QPointer<frmSearch> first = frmSearch::instance();
        frmSearch::Unload();
        QVERIFY(!first);
        QVERIFY(!frmSearch::instance());

        // The main window has moved, partly off the screen.
        mMain.setGeometry(-400, -300, 640, 480);
        frmSearch::Show();
        QVERIFY(frmSearch::instance());
        QCOMPARE(frmSearch::instance()->pos(), QPoint(-400 + 320 - 96, -300 + 240 - 16));
        QVERIFY(topmost());
        mMain.setGeometry(100, 100, 640, 480);
    }
};

QTEST_MAIN(TestFrmSearch)
#include "test_frmsearch.moc"
