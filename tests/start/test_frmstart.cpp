#include "classic/msgbox.h"
#include "classic/twips.h"
#include "platform/instance_internal.h"
#include "start/frmstart.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestFrmStart : public QObject {
    Q_OBJECT

    static QString probe() { return QStringLiteral(KESTROM_INSTANCE_PROBE); }

private Q_SLOTS:
    void initTestCase() { testsupport::initWindowTests(); }

    void splashIsCentredAndOpensTheMainWindowOnceAfterTheDelay() {
        QPointer<FrmStart> start = new FrmStart;
        int opened = 0;
        qint64 openedAfter = -1;
        QElapsedTimer clock;
        // The first login dialog stays open far longer than the splash's delay.
        start->setMainOpener([&] {
            ++opened;
            openedAfter = clock.elapsed();
            QEventLoop loginDialog;
            QTimer::singleShot(3200, &loginDialog, &QEventLoop::quit);
            loginDialog.exec();
        });
        QVERIFY(start->Form_Load());
        const QRectF outer = classic::OuterRectTwips(start);
        QVERIFY(qAbs(outer.center().x() - classic::ScreenWidthTwips() / 2) <= 15);
        QVERIFY(qAbs(outer.center().y() - classic::ScreenHeightTwips() / 2) <= 15);
        clock.start();
        start->show();
        QTRY_COMPARE_WITH_TIMEOUT(opened, 1, 3000);
        QVERIFY2(openedAfter >= 1400, qPrintable(QString::number(openedAfter)));
        QVERIFY2(openedAfter < 2500, qPrintable(QString::number(openedAfter)));
        // The start-up window unloads itself once the opening has returned.
        QTRY_VERIFY_WITH_TIMEOUT(start.isNull(), 5000);
        QCOMPARE(opened, 1);
    }

    void secondCopyIsRefusedInItsOwnProcessBeforeAnyWindow() {
        // This process holds the instance lock, as a running copy does.
        QVERIFY(!platform::AppPrevInstance());
        QProcess second;
        second.start(probe(), {QStringLiteral("start")});
        QVERIFY(second.waitForFinished(20000));
        // Lines end in CR LF where standard output is a text stream (Windows).
        const QString out =
            QString::fromUtf8(second.readAllStandardOutput()).remove(QLatin1Char('\r'));
        QCOMPARE(second.exitCode(), 0); // the main window was never opened
        QVERIFY2(out.contains(QStringLiteral(
                     "box|このアプリケーションはすでに開かれています。|APP Load Error|48\n")),
                 qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("loaded=0 visible=0")), qPrintable(out));
        // The running copy is unaffected: it still holds its lock.
        QVERIFY(!platform::AppPrevInstance());
    }

    void lockOfAKilledCopyDoesNotBlockTheNextStart() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("instance.lock"));
        QProcess first;
        first.start(probe(), {QStringLiteral("hold"), lock});
        QVERIFY(first.waitForReadyRead(20000));
        QCOMPARE(first.readAllStandardOutput().trimmed(), QByteArray("holding"));
        QVERIFY(platform::PrevInstanceAt(lock) == true);
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(lock));
        QVERIFY(!platform::PrevInstanceAt(lock));
    }
};

QTEST_MAIN(TestFrmStart)
#include "test_frmstart.moc"
