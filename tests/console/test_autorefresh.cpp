#include "classic/msgbox_hook.h"
#include "console/gridcolumns.h"
#include "console/sessiongrid.h"
#include "kestromfixture.h"
#include "testsupport.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTime>
#include <QTimer>

using testsupport::KestromFixture;

// The list read again on a timer or by F5: it follows the server and never moves what a kill
// acts on.
class TestAutoRefresh : public QObject {
    Q_OBJECT

    // Waits for the next search the window sends by itself; false when none comes in time.
    static bool nextSearch(KestromFixture& f, int withinMs) {
        const qsizetype before = f.db->statements.size();
        return QTest::qWaitFor([&] { return f.db->statements.size() > before; }, withinMs);
    }
    static QStringList kills(const KestromFixture& f) {
        return f.db->statements.filter(QStringLiteral("ALTER SYSTEM"));
    }
    static QString refreshText(const KestromFixture& f) {
        auto* label = f.find<QLabel>("sbStatusBar_AutoRefresh");
        return label->isVisible() ? label->text() : QString();
    }

private Q_SLOTS:
    void initTestCase() { testsupport::initWindowTests(); }
    void init() {
        classic::MsgBoxHook::clear();
        QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom")).clear();
    }

    void refreshKeepsTheCurrentSessionByKey_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<bool>("gone");
        // The reading fails on moving to this row, after the rows before it are shown (-1: never).
        QTest::addColumn<int>("failFrom");
        // The list is scrolled down this far (rows), and the session is chosen in view.
        QTest::addColumn<int>("top");
        QTest::newRow("F5, session kept") << false << false << -1 << 0;
        QTest::newRow("F5, session kept, list scrolled") << false << false << -1 << 20;
        QTest::newRow("F5, session gone") << false << true << -1 << 0;
        QTest::newRow("F5, read failing before the session") << false << true << 2 << 0;
        QTest::newRow("timer, session kept") << true << false << -1 << 0;
        QTest::newRow("timer, session gone") << true << true << -1 << 0;
    }

    void refreshKeepsTheCurrentSessionByKey() {
        QFETCH(bool, automatic);
        QFETCH(bool, gone);
        QFETCH(int, failFrom);
        QFETCH(int, top);
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        auto& sessions = f.db->sessions;
        for (int sid = 11; sid < (top > 0 ? 60 : 14); ++sid)
            sessions.push_back(fakeoracle::makeSession(sid, sid * 10, me));
        f.openConnected();
        if (automatic)
            f.choose("AutoRefresh5");
        SessionGrid* g = f.grid();
        QCoreApplication::processEvents();
        g->verticalScrollBar()->setValue(top);
        QCOMPARE(g->verticalScrollBar()->value(), top);
        f.clickRow(g->rowAt(0) + 2);
        const int chosen = g->TextMatrix(g->Row(), colSid).toInt();
        QVERIFY(chosen >= 12);
        // The server's list changes: a session comes before the chosen one, which may end.
        sessions.insert(sessions.begin(), fakeoracle::makeSession(5, 50, me));
        const int listed = static_cast<int>(sessions.size()) - (gone && failFrom < 0 ? 1 : 0);
        if (gone && failFrom < 0)
            sessions.erase(sessions.begin() + (chosen - 11) + 1);
        f.db->failFromRow = failFrom;
        if (automatic) {
            QVERIFY(nextSearch(f, 8000));
        } else {
            f.grid()->setFocus();
            QTest::keyClick(f.grid(), Qt::Key_F5);
        }
        auto* kill = f.find<QPushButton>("cmdSessionCt");
        QCOMPARE(g->Rows(), failFrom > 0 ? failFrom + 1 : listed + 1);
        if (failFrom > 0) {
            QCOMPARE(testsupport::messageTexts().size(), 1);
            classic::MsgBoxHook::clear();
            f.db->failFromRow = -1;
        }
        g->setFocus();
        if (!gone) {
            QCOMPARE(g->TextMatrix(g->Row(), colSid).toInt(), chosen);
            QTRY_COMPARE(g->currentIndex().row(), g->Row() - 1);
            QCOMPARE(g->verticalScrollBar()->value(), top);
            QVERIFY(kill->isEnabled());
            QTest::keyClick(g, Qt::Key_Delete);
            QCOMPARE(kills(f), QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '%1,%2'")
                                               .arg(chosen)
                                               .arg(chosen * 10)});
            return;
        }
        // Gone: no row is current, and nothing acts on a session until the user picks one.
        QTRY_VERIFY(!g->currentIndex().isValid());
        QVERIFY(g->selectionModel()->selectedRows().isEmpty());
        QVERIFY(!kill->isEnabled());
        QTest::keyClick(g, Qt::Key_Delete);
        f.click("cmdSessionCt");
        QVERIFY(kills(f).isEmpty());
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        f.contextMenu(g->Rows() - 1, Qt::Key_Escape, [](QMenu& menu) {
            // The right click picked the row: the menu acts on it.
            for (QAction* action : menu.actions())
                if (action->text() == QStringLiteral("ｾｯｼｮﾝ切断(&K)"))
                    QVERIFY(action->isEnabled());
        });
        QVERIFY(kill->isEnabled());
        f.clickRow(1);
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(kills(f), QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '5,50'")});
    }

    void autoRefreshWaitsForThePausedUserAndStopsOnFailure() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(11, 110, me));
        f.openConnected();
        QCOMPARE(refreshText(f), QString());
        f.choose("AutoRefresh5");
        QCOMPARE(QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"))
                     .value(QStringLiteral("search/autoRefreshSeconds")),
                 QVariant(5));
        QCOMPARE(refreshText(f), QStringLiteral("自動更新 5秒"));

        // Typing into the machine box from 3.5 s to 6.5 s holds back the refresh due at 5 s,
        // which comes once the user has paused for a second.
        QTimer typing;
        connect(&typing, &QTimer::timeout, f.window.get(),
                [&f] { QTest::keyClick(f.machineBox(), Qt::Key_End); });
        QTimer::singleShot(3500, f.window.get(), [&typing] { typing.start(200); });
        QTimer::singleShot(6500, f.window.get(), [&typing] { typing.stop(); });
        f.db->statements.clear();
        QTest::qWait(6600);
        QVERIFY(f.db->statements.isEmpty());
        QVERIFY(nextSearch(f, 2000));
        const QString shown = refreshText(f);
        QVERIFY2(shown.startsWith(QStringLiteral("自動更新 5秒　最終 ")), qPrintable(shown));
        const QTime last =
            QTime::fromString(shown.section(QChar(u' '), 2), QStringLiteral("H:mm:ss"));
        QVERIFY(last.isValid() && qAbs(last.secsTo(QTime::currentTime())) <= 2);
        // The focus stayed in the box the user typed in.
        QCOMPARE(QApplication::focusWidget(), f.machineBox());

        // An open menu holds it back as well.
        QMenu* search = f.find<QMenu>("ken");
        search->popup(f.window->mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        f.db->statements.clear();
        QTest::qWait(6000);
        QVERIFY(f.db->statements.isEmpty());
        search->close();
        QVERIFY(nextSearch(f, 2000));

        // A refresh the server is slow to answer waits as every call does: a Delete typed
        // meanwhile is dropped, Esc breaks it off. The failure is shown once and turns
        // auto-refresh off for this connection.
        f.db->callMs = 10000;
        f.db->duringCall = [&f] {
            f.db->duringCall = nullptr;
            QMetaObject::invokeMethod(
                f.window.get(),
                [&f] {
                    QTimer::singleShot(300, f.window.get(), [&f] {
                        QTest::keyClick(f.grid(), Qt::Key_Delete);
                        QTest::keyClick(f.grid(), Qt::Key_Escape);
                        f.db->callMs = 0;
                    });
                },
                Qt::QueuedConnection);
        };
        classic::MsgBoxHook::clear();
        QVERIFY(nextSearch(f, 7000));
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::messageTexts().size(), 1, 3000);
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("以下の理由により検索できませんでした。\r\n\r\n"
                                            "「ORA-01013: user requested cancel of current "
                                            "operation」")});
        QVERIFY(kills(f).isEmpty());
        QVERIFY(f.find<QAction>("AutoRefresh0")->isChecked());
        QCOMPARE(refreshText(f), QString());
        QVERIFY(!nextSearch(f, 6000));
        QCOMPARE(testsupport::messageTexts().size(), 1);

        // The choice stays stored: the next login takes it up again, ＤＢ切断 stops it.
        f.choose("Cutting");
        QCOMPARE(refreshText(f), QString());
        f.setScript({KestromFixture::login()});
        f.choose("Link");
        QVERIFY(f.find<QAction>("AutoRefresh5")->isChecked());
        QCOMPARE(refreshText(f), QStringLiteral("自動更新 5秒"));
    }
};

QTEST_MAIN(TestAutoRefresh)
#include "test_autorefresh.moc"
