#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "classic/zoom.h"
#include "classic/zoom_hook.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "kestromfixture.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using testsupport::KestromFixture;

// The main window on its own: controls, menus, the enable table and the key rules.
class TestKestrom : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::initWindowTests(); }

    void controlsAndMenusAsTheUserSeesThem() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        QStringList shown{f.window->windowTitle()};
        for (const char* name : {"cmdSearch", "CmdDB", "cmdSessionCt", "cmdEN"})
            shown << f.find<QPushButton>(name)->text();
        shown << f.find<QLabel>("Labe1")->text() << f.find<QGroupBox>("Frame1")->title();
        QCOMPARE(shown, testsupport::strings({"Kestrom", "検　索", "ＤＢ接続", "セッション切断",
                                              "終了", "マシン名称", "セッションリスト"}));
        // Each menu with its items in order, separators as "-"; no item has a shortcut key.
        QStringList menus;
        for (const QAction* menu : f.window->menuBar()->actions()) {
            QStringList items;
            for (const QAction* a : menu->menu()->actions())
                items << (a->isSeparator() ? QStringLiteral("-")
                                           : a->text() + a->shortcut().toString());
            menus << menu->text() + u':' + items.join(u'|');
        }
        QCOMPARE(
            menus,
            testsupport::strings(
                {"接続(&L):ＤＢ接続(&L)|ＤＢ切断(&C)|-|終了(&X)",
                 "検索(&S):ｾｯｼｮﾝの検索(&S)|ﾌﾞﾛｯｸ中のｾｯｼｮﾝ(&B)|-|自分のﾏｼﾝ名(&P)|-|全ｲﾝｽﾀﾝｽ(&A)|"
                 "自動更新(&R)",
                 "ヘルプ(&H):ヘルプ(&H)|ﾊﾞｰｼﾞｮﾝ情報(&V)"}));
        auto* box = f.machineBox();
        QCOMPARE(box->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(box->font().pointSizeF(), 9.75);
        QCOMPARE(f.find<QLabel>("Labe1")->font().pointSizeF(), 9.75);
        // The etched line and the opening zoom ran before the window was shown.
        QVERIFY(!classic::ZoomHook::log().isEmpty());
        // The help menu's version item opens the version window.
        QString opened;
        testsupport::runModal([&] { f.choose("Version"); },
                              [&](QDialog& window) { opened = window.objectName(); },
                              "version window");
        QCOMPARE(opened, QStringLiteral("frmVersion"));
    }

    void enableStatesAtStartAfterConnectAndAfterDisconnect() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        auto state = [&] {
            QStringList on;
            for (const char* name : {"Link", "Cutting", "Search", "Help"})
                if (f.find<QAction>(name)->isEnabled())
                    on << QString::fromLatin1(name);
            if (f.find<QPushButton>("cmdSessionCt")->isEnabled())
                on << QStringLiteral("kill");
            return on << f.find<QPushButton>("CmdDB")->text() << f.panel(1) << f.panel(2);
        };
        const QString disconnected = QStringLiteral("Link Search ＤＢ接続 - DB未接続 - ");
        QCOMPARE(state().join(u' '), disconnected);
        QCOMPARE(f.grid()->Rows(), 1);

        f.setScript({KestromFixture::login()});
        f.click("CmdDB");
        // The probe search completed, so the kill button is on.
        QCOMPARE(state().join(u' '),
                 QStringLiteral("Cutting Search kill ＤＢ切断 - DB接続中 - system / ORCL"));

        f.click("CmdDB");
        QCOMPARE(state().join(u' '), disconnected);
        QCOMPARE(f.grid()->Rows(), 1);
        QCOMPARE(f.grid()->Col(), 0);
        QTRY_COMPARE(f.db->closes.load(), 1);
    }

    void statusBarTooltipsAndClock() {
        // The clock is read before the bar exists and after it is read, so that a minute
        // turning in between cannot fail the test.
        const auto now = [] { return QTime::currentTime().toString(QStringLiteral("H:mm")); };
        const QString before = now();
        KestromFixture f;
        const QString shown = f.panel(3);
        const QString after = now();
        QVERIFY2(shown == before || shown == after, qPrintable(shown));
        auto* bar = f.find<PanelStatusBar>("sbStatusBar");
        QCOMPARE(bar->panelToolTip(1), QStringLiteral("DataBaseの接続状態を表示"));
        QCOMPARE(bar->panelToolTip(2), QStringLiteral("ﾛｸﾞｲﾝ情報を表示"));
    }

    void enterAndDeleteInTheGridDoNothingWhileKillIsDisabled() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, QStringLiteral("OTHER")));
        f.open({KestromFixture::cancel()});
        SessionGrid* g = f.grid();
        g->setRows(2); // a row to act on, should the rule fail
        g->setRow(1);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Delete);
        QTest::keyClick(g, Qt::Key_Return);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QVERIFY(f.db->statements.isEmpty());
        QVERIFY(!f.find<QPushButton>("cmdSessionCt")->hasFocus());
    }

    void enterInTheGridFocusesTheKillButtonWhichEnterPresses() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, KestromFixture::thisComputer()));
        f.openConnected();
        SessionGrid* g = f.grid();
        QCOMPARE(g->Rows(), 2);
        f.db->statements.clear();
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Return);
        auto* kill = f.find<QPushButton>("cmdSessionCt");
        QVERIFY(kill->hasFocus());
        QVERIFY(f.db->statements.isEmpty());
        // Enter on the focused button presses it, as Space does.
        QTest::keyClick(kill, Qt::Key_Return);
        QCOMPARE(f.db->statements.first(), QStringLiteral("ALTER SYSTEM KILL SESSION '7,70'"));
    }

    void enterInTheMachineBoxConnectsOrSearches() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        auto* box = f.machineBox();
        QCOMPARE(f.prompts.size(), 1);
        // Not connected: Enter opens the login dialog.
        f.setScript({KestromFixture::cancel()});
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(f.prompts.size(), 2);
        QVERIFY(f.db->statements.isEmpty());

        f.setScript({KestromFixture::login()});
        f.choose("Link");
        f.db->statements.clear();
        f.typeMachine(QStringLiteral("host9"));
        QTest::keyClick(box, Qt::Key_Enter, Qt::ShiftModifier);
        QCOMPARE(f.prompts.size(), 3);
        QCOMPARE(f.db->statements.size(), 1);
        // The box keeps what was typed; only the search is in upper case.
        QVERIFY(f.db->statements[0].contains(QStringLiteral("WHERE terminal = 'HOST9'")));
        QCOMPARE(box->text(), QStringLiteral("host9"));
    }

    void ownMachineNameComesBackWithoutASearch() {
        KestromFixture f;
        f.openConnected();
        auto* box = f.machineBox();
        f.db->statements.clear();
        f.typeMachine(QStringLiteral("elsewhere"));
        f.choose("MyPcName");
        QCOMPARE(box->text(), KestromFixture::thisComputer());
        f.typeMachine(QStringLiteral("elsewhere"));
        QTest::mouseDClick(box, Qt::LeftButton);
        QCOMPARE(box->text(), KestromFixture::thisComputer());
        QVERIFY(f.db->statements.isEmpty());
    }

    void closingClosesTheDatabaseAndZooms() {
        KestromFixture f;
        f.openConnected();
        classic::ZoomHook::clear();
        QSignalSpy closed(f.window.get(), &Kestrom::closed);
        f.window->close();
        QCOMPARE(f.db->closes.load(), 1);
        // The program ends with this window, whatever other windows are left.
        QCOMPARE(closed.count(), 1);
        QCOMPARE(classic::ZoomHook::log().size(), 1);
        const classic::ZoomRecord zoom = classic::ZoomHook::log().first();
        QCOMPARE(zoom.kind, classic::IDANI_CAPTION);
        QCOMPARE(zoom.to, classic::Mirror(zoom.from));
    }

    void closingWithADeadConnectionNeitherHangsNorThrows() {
        KestromFixture f;
        f.openConnected();
        f.db->connectionLost = true;
        f.choose("EN");
        QCOMPARE(f.db->closes.load(), 1);
        QVERIFY(!f.window->isVisible());
    }

    void resizingStretchesTheListAndKeepsTheMinimum() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        Kestrom* w = f.window.get();
        auto* frame = f.find<QGroupBox>("Frame1");
        auto* exit = f.find<QPushButton>("cmdEN");
        auto* search = f.find<QPushButton>("cmdSearch");
        const QRect frameBefore = frame->geometry();
        const QRect exitBefore = exit->geometry();
        const QRect searchBefore = search->geometry();
        w->resize(w->width() + 100, w->height() + 60);
        QTRY_COMPARE(frame->width(), frameBefore.width() + 100);
        QCOMPARE(frame->height(), frameBefore.height() + 60);
        QCOMPARE(exit->x(), exitBefore.x() + 100);
        QCOMPARE(exit->y(), exitBefore.y() + 60);
        QCOMPARE(search->geometry(), searchBefore);
        // Below the minimum the window comes back to 6000 x 4500 twips (outer).
        w->resize(100, 100);
        QTRY_COMPARE(w->centralWidget()->width(), (6000 - 120) / 15);
        QTRY_COMPARE(w->centralWidget()->height(), (4500 - 630) / 15);
    }
};

QTEST_MAIN(TestKestrom)
#include "test_kestrom.moc"
