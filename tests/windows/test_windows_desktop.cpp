// The desktop services that Windows does its own way, on Windows' own window system (Wine's):
// the frame known before a window is shown and centring by it, at 100 % and higher scaling;
// the topmost call; the end of the session reaching the program while Windows waits.
#include "classic/twips.h"
#include "platform/dialogflags.h"
#include "platform/outerrect.h"
#include "platform/sessionend.h"
#include "platform/topmost.h"

#include <QDialog>
#include <QtTest>

#include <windows.h>

class TestWindowsDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void centresByTheFrameKnownBeforeShowing_data() {
        QTest::addColumn<Qt::WindowFlags>("flags");
        QTest::addColumn<QSize>("size");
        QTest::newRow("main window") << Qt::WindowFlags(Qt::Window) << QSize(610, 394);
        QTest::newRow("fixed dialog") << platform::FixedDialogFlags << QSize(359, 98);
        QTest::newRow("odd sizes") << Qt::WindowFlags(Qt::Window) << QSize(301, 203);
    }

    void centresByTheFrameKnownBeforeShowing() {
        QFETCH(Qt::WindowFlags, flags);
        QFETCH(QSize, size);
        QDialog window(nullptr, flags);
        window.resize(size);
        const QMargins frame = platform::FrameMargins(&window);
        QVERIFY2(frame.top() > frame.bottom() && frame.left() > 0,
                 "no caption and border known before showing");
        classic::CentreOnScreen(&window);
        const QRect foreseen = platform::OuterRect(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The rectangle Windows gives the shown window, in Qt's scaled pixels.
        RECT native{};
        QVERIFY(GetWindowRect(reinterpret_cast<HWND>(window.winId()), &native));
        const qreal ratio = window.devicePixelRatio();
        const QRectF outer(native.left / ratio, native.top / ratio,
                           (native.right - native.left) / ratio,
                           (native.bottom - native.top) / ratio);
        const QString detail = QStringLiteral("foreseen %1,%2 %3x%4, shown %5,%6 %7x%8 at ratio %9")
                                   .arg(foreseen.x())
                                   .arg(foreseen.y())
                                   .arg(foreseen.width())
                                   .arg(foreseen.height())
                                   .arg(outer.x())
                                   .arg(outer.y())
                                   .arg(outer.width())
                                   .arg(outer.height())
                                   .arg(ratio);
        // The frame Windows drew is the one foreseen, to the pixel of rounding.
        QVERIFY2(qAbs(outer.left() - foreseen.left()) <= 1 &&
                     qAbs(outer.top() - foreseen.top()) <= 1 &&
                     qAbs(outer.width() - foreseen.width()) <= 1 &&
                     qAbs(outer.height() - foreseen.height()) <= 1,
                 qPrintable(detail));
        // Left = (screen width - outer width) / 2 and Top likewise, within a pixel.
        const float tpx = classic::TwipsPerPixelX();
        const float tpy = classic::TwipsPerPixelY();
        const float wantLeft =
            (classic::ScreenWidthTwips() - static_cast<float>(outer.width()) * tpx) / 2;
        const float wantTop =
            (classic::ScreenHeightTwips() - static_cast<float>(outer.height()) * tpy) / 2;
        QVERIFY2(qAbs(static_cast<float>(outer.left()) * tpx - wantLeft) <= tpx &&
                     qAbs(static_cast<float>(outer.top()) * tpy - wantTop) <= tpy,
                 qPrintable(
                     detail +
                     QStringLiteral("; wanted left %1, top %2 twips").arg(wantLeft).arg(wantTop)));
    }

    void topmostIsWindowsOwn() {
        QWidget banner(nullptr, Qt::FramelessWindowHint | Qt::Tool);
        banner.resize(192, 32);
        const auto hwnd = reinterpret_cast<HWND>(banner.winId());
        const auto exStyle = [hwnd] { return GetWindowLongPtrW(hwnd, GWL_EXSTYLE); };
        platform::SetTopMost(&banner, true);
        QVERIFY(exStyle() & WS_EX_TOPMOST);
        QVERIFY(platform::IsTopMost(&banner));
        banner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&banner));
        const QRect shown = banner.geometry();
        QVERIFY(exStyle() & WS_EX_TOPMOST);
        platform::SetTopMost(&banner, false);
        QVERIFY(!(exStyle() & WS_EX_TOPMOST));
        QVERIFY(!platform::IsTopMost(&banner));
        // Only the z-order changed.
        QVERIFY(banner.isVisible());
        QCOMPARE(banner.geometry(), shown);
    }

    void sessionEndRunsBeforeWindowsGoesOn() {
        int ran = 0;
        platform::OnSessionEnd([&ran] { ++ran; });
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // What Windows sends at a logoff; its answer comes back once the handler has run.
        SendMessageW(reinterpret_cast<HWND>(window.winId()), WM_QUERYENDSESSION, 0,
                     ENDSESSION_LOGOFF);
        QCOMPARE(ran, 1);
    }
};

QTEST_MAIN(TestWindowsDesktop)
#include "test_windows_desktop.moc"
