#include "classic/mainform.h"
#include "classic/zoom.h"
#include "classic/zoom_hook.h"
#include "decor/frmversion.h"
#include "decor/version.h"
#include "testsupport.h"

#include <QApplication>
#include <QCursor>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

class TestFrmVersion : public QObject {
    Q_OBJECT

    QWidget mMain;

    // Runs ShowModal with the script acting on the open window; closes what it leaves open.
    static void runShowModal(const std::function<void(QDialog&)>& script) {
        testsupport::runModal([] { frmVersion::ShowModal(); }, script, "version window");
    }

private Q_SLOTS:
    void initTestCase() {
        testsupport::initWindowTests();
        mMain.setGeometry(100, 100, 640, 480);
        classic::SetMainForm(&mMain);
    }

    void init() { classic::ZoomHook::clear(); }

    void startsOnOkAndShowsTheVersionWithoutCrGlyphs() {
        QString text;
        bool isDefault = false;
        QStringList tabOrder;
        runShowModal([&](QDialog& w) {
            text = w.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
            isDefault = w.findChild<QPushButton*>(QStringLiteral("Command1"))->isDefault();
            tabOrder << QApplication::focusWidget()->objectName();
            for (int i = 0; i < 2; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                tabOrder << QApplication::focusWidget()->objectName();
            }
        });
        QCOMPARE(text, QStringLiteral("Tarnwick Kestrom\nVersion : " KESTROM_VERSION_TEXT "\n"));
        QVERIFY(isDefault);
        QCOMPARE(tabOrder, (QStringList{QStringLiteral("Command1"), QStringLiteral("Picture1"),
                                        QStringLiteral("Text1")}));
    }

    // Every way of closing zooms once from the window into the cursor where it is then.
    void zoomsOutOfAndBackIntoTheCursor_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << QStringLiteral("ok");
        QTest::newRow("Enter") << QStringLiteral("enter");
        QTest::newRow("Esc") << QStringLiteral("esc");
        QTest::newRow("close box") << QStringLiteral("close");
    }

    void zoomsOutOfAndBackIntoTheCursor() {
        QFETCH(QString, how);
        QCursor::setPos(5, 7);
        const classic::WinPoint atOpen = classic::GetCursorPos();
        classic::WinPoint atClose;
        classic::WinRect shown;
        bool closed = false;
        runShowModal([&](QDialog& w) {
            QCursor::setPos(900, 700);
            atClose = classic::GetCursorPos();
            shown = classic::GetWindowRect(&w);
            auto* ok = w.findChild<QPushButton*>(QStringLiteral("Command1"));
            if (how == QStringLiteral("ok"))
                QTest::mouseClick(ok, Qt::LeftButton);
            else if (how == QStringLiteral("enter"))
                QTest::keyClick(ok, Qt::Key_Return);
            else if (how == QStringLiteral("esc"))
                QTest::keyClick(ok, Qt::Key_Escape);
            else
                w.close();
            closed = !w.isVisible();
        });
        QVERIFY(closed);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(atOpen != atClose); // else the closing target proves nothing
        const auto log = classic::ZoomHook::log();
        QCOMPARE(log.size(), 2);
        for (const auto& record : log) {
            QCOMPARE(record.window, QStringLiteral("frmVersion"));
            QCOMPARE(record.kind, classic::IDANI_CAPTION);
        }
        QCOMPARE(log[0].from, classic::CursorRect(atOpen));
        QCOMPARE(log[1].to, classic::CursorRect(atClose));
        QCOMPARE(log[1].from, shown);
        // Centred over the 640 x 480 main window at (100, 100): 190 x 149 gives a top of
        // 3982.5 twips, 265.5 px, placed at 266.
        QCOMPARE(log[0].to.left, 100 + 320 - 95);
        QCOMPARE(log[0].to.top, 266);
    }
};

QTEST_MAIN(TestFrmVersion)
#include "test_frmversion.moc"
