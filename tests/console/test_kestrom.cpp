#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "kestromfixture.h"
#include "platform/msgbox.h"
#include "platform/zoom.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using testsupport::KestromFixture;

// The main window on its own: controls, menus, the enable table and the key rules.
class TestKestrom : public QObject {
    Q_OBJECT

    template <typename T> static T* find(Kestrom* w, const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void initTestCase() { testsupport::initWindowTests(); }

    void controlsCarryTheirNamesCaptionsAndFonts() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        Kestrom* w = f.window.get();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kestrom"));
        QCOMPARE(find<QPushButton>(w, "cmdSearch")->text(), QStringLiteral("検　索"));
        QCOMPARE(find<QPushButton>(w, "CmdDB")->text(), QStringLiteral("ＤＢ接続"));
        QCOMPARE(find<QLabel>(w, "Labe1")->text(), QStringLiteral("マシン名称"));
        QCOMPARE(find<QGroupBox>(w, "Frame1")->title(), QStringLiteral("セッションリスト"));
        QCOMPARE(find<QPushButton>(w, "cmdSessionCt")->text(), QStringLiteral("セッション切断"));
        QCOMPARE(find<QPushButton>(w, "cmdEN")->text(), QStringLiteral("終了"));
        QVERIFY(find<QLabel>(w, "Label2"));
        QVERIFY(find<PanelStatusBar>(w, "sbStatusBar"));
        auto* box = find<QLineEdit>(w, "txtPcName");
        QCOMPARE(box->maxLength(), 15);
        QCOMPARE(box->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(box->font().pointSizeF(), 9.75);
        QCOMPARE(find<QLabel>(w, "Labe1")->font().pointSizeF(), 9.75);
        // The etched line and the opening zoom ran before the window was shown.
        QVERIFY(!platform::ZoomHook::log().isEmpty());
    }

    void menuCaptionsAndAccessKeys() {
        KestromFixture f;
        Kestrom* w = f.window.get();
        const QList<QPair<const char*, QString>> menus{
            {"Lin", QStringLiteral("接続(&L)")},
            {"ken", QStringLiteral("検索(&S)")},
            {"hel", QStringLiteral("ヘルプ(&H)")},
        };
        for (const auto& [name, caption] : menus)
            QCOMPARE(find<QMenu>(w, name)->title(), caption);
        const QList<QPair<const char*, QString>> items{
            {"Link", QStringLiteral("ＤＢ接続(&L)")},
            {"Cutting", QStringLiteral("ＤＢ切断(&C)")},
            {"EN", QStringLiteral("終了(&X)")},
            {"Search", QStringLiteral("ｾｯｼｮﾝの検索(&S)")},
            {"MyPcName", QStringLiteral("自分のﾏｼﾝ名(&P)")},
            {"Help", QStringLiteral("ヘルプ(&H)")},
            {"Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)")},
        };
        for (const auto& [name, caption] : items) {
            QAction* a = find<QAction>(w, name);
            QVERIFY2(a, name);
            QCOMPARE(a->text(), caption);
            QVERIFY(a->shortcut().isEmpty());
        }
        QVERIFY(find<QAction>(w, "a")->isSeparator());
        QVERIFY(find<QAction>(w, "b")->isSeparator());
        QCOMPARE(find<QMenu>(w, "Lin")->actions().size(), 4);
    }

    void enableStatesAtStartAfterConnectAndAfterDisconnect() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        Kestrom* w = f.window.get();
        auto state = [&] {
            return QStringList{
                find<QAction>(w, "Link")->isEnabled() ? QStringLiteral("Link") : QString(),
                find<QAction>(w, "Cutting")->isEnabled() ? QStringLiteral("Cutting") : QString(),
                find<QPushButton>(w, "cmdSessionCt")->isEnabled() ? QStringLiteral("kill")
                                                                  : QString(),
                find<QPushButton>(w, "CmdDB")->text(),
                w->statusBarPanels()->panelText(1),
                w->statusBarPanels()->panelText(2),
            };
        };
        QCOMPARE(state(), (QStringList{QStringLiteral("Link"),
                                       {},
                                       {},
                                       QStringLiteral("ＤＢ接続"),
                                       QStringLiteral("- DB未接続 -"),
                                       {}}));
        QVERIFY(!find<QAction>(w, "Help")->isEnabled());
        QVERIFY(find<QAction>(w, "Search")->isEnabled());
        QCOMPARE(w->grid()->Rows(), 1);

        f.setScript({KestromFixture::login(QStringLiteral("system"), QStringLiteral("pelmora"),
                                           QStringLiteral("ORCL"))});
        w->CmdDB_Click();
        // The probe search completed, so the kill button is on.
        QCOMPARE(state(), (QStringList{{},
                                       QStringLiteral("Cutting"),
                                       QStringLiteral("kill"),
                                       QStringLiteral("ＤＢ切断"),
                                       QStringLiteral("- DB接続中 -"),
                                       QStringLiteral("system / ORCL")}));

        w->CmdDB_Click();
        QCOMPARE(state(), (QStringList{QStringLiteral("Link"),
                                       {},
                                       {},
                                       QStringLiteral("ＤＢ接続"),
                                       QStringLiteral("- DB未接続 -"),
                                       {}}));
        QCOMPARE(w->grid()->Rows(), 1);
        QCOMPARE(w->grid()->Col(), 0);
        QCOMPARE(f.db->closes, 1);
    }

    void statusBarTooltipsAndClock() {
        KestromFixture f;
        PanelStatusBar* bar = f.window->statusBarPanels();
        QCOMPARE(bar->panelToolTip(1), QStringLiteral("DataBaseの接続状態を表示"));
        QCOMPARE(bar->panelToolTip(2), QStringLiteral("ﾛｸﾞｲﾝ情報を表示"));
        QCOMPARE(bar->panelText(3), QTime::currentTime().toString(QStringLiteral("H:mm")));
    }

    void enterAndDeleteInTheGridDoNothingWhileKillIsDisabled() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, QStringLiteral("OTHER")));
        f.open({KestromFixture::cancel()});
        Kestrom* w = f.window.get();
        w->grid()->setRows(2); // a row to act on, should the rule fail
        w->grid()->setRow(1);
        w->grid()->setFocus();
        QTest::keyClick(w->grid(), Qt::Key_Delete);
        QTest::keyClick(w->grid(), Qt::Key_Return);
        QVERIFY(platform::MsgBoxHook::log().isEmpty());
        QVERIFY(f.db->statements.isEmpty());
        QVERIFY(!find<QPushButton>(w, "cmdSessionCt")->hasFocus());
    }

    void enterInTheGridFocusesTheKillButtonWhichEnterPresses() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, KestromFixture::thisComputer()));
        f.openConnected();
        Kestrom* w = f.window.get();
        QCOMPARE(w->grid()->Rows(), 2);
        f.db->statements.clear();
        w->grid()->setFocus();
        QTest::keyClick(w->grid(), Qt::Key_Return);
        auto* kill = find<QPushButton>(w, "cmdSessionCt");
        QVERIFY(kill->hasFocus());
        QVERIFY(f.db->statements.isEmpty());
        // Enter on the focused button presses it, as Space does.
        QTest::keyClick(kill, Qt::Key_Return);
        QCOMPARE(f.db->statements.first(), QStringLiteral("ALTER SYSTEM KILL SESSION '7,70'"));
    }

    void enterInTheMachineBoxConnectsOrSearches() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        Kestrom* w = f.window.get();
        auto* box = find<QLineEdit>(w, "txtPcName");
        QCOMPARE(f.prompts.size(), 1);
        // Not connected: Enter opens the login dialog.
        f.setScript({KestromFixture::cancel()});
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(f.prompts.size(), 2);
        QVERIFY(f.db->statements.isEmpty());

        f.setScript({KestromFixture::login()});
        w->CmdDB_Click();
        f.db->statements.clear();
        box->setText(QStringLiteral("host9"));
        QTest::keyClick(box, Qt::Key_Enter, Qt::ShiftModifier);
        QCOMPARE(f.prompts.size(), 3);
        QCOMPARE(f.db->statements.size(), 1);
        QVERIFY(f.db->statements[0].contains(QStringLiteral("WHERE terminal = 'HOST9'")));
        // The box keeps what was typed; only the search is in upper case.
        QCOMPARE(box->text(), QStringLiteral("host9"));
        QCOMPARE(w->pcName(), QStringLiteral("HOST9"));
    }

    void ownMachineNameComesBackWithoutASearch() {
        KestromFixture f;
        f.openConnected();
        Kestrom* w = f.window.get();
        auto* box = find<QLineEdit>(w, "txtPcName");
        const QString before = w->pcName();
        f.db->statements.clear();
        box->setText(QStringLiteral("elsewhere"));
        find<QAction>(w, "MyPcName")->trigger();
        QCOMPARE(box->text(), w->myPcName());
        box->setText(QStringLiteral("elsewhere"));
        QTest::mouseDClick(box, Qt::LeftButton);
        QCOMPARE(box->text(), w->myPcName());
        QVERIFY(f.db->statements.isEmpty());
        QCOMPARE(w->pcName(), before);
    }

    void closingClosesTheDatabaseAndZooms() {
        KestromFixture f;
        f.openConnected();
        platform::ZoomHook::clear();
        QSignalSpy closed(f.window.get(), &Kestrom::closed);
        f.window->close();
        QCOMPARE(f.db->closes, 1);
        // The program ends with this window, whatever other windows are left.
        QCOMPARE(closed.count(), 1);
        QCOMPARE(platform::ZoomHook::log().size(), 1);
        const platform::ZoomRecord zoom = platform::ZoomHook::log().first();
        QCOMPARE(zoom.kind, platform::IDANI_CAPTION);
        QCOMPARE(zoom.to, platform::Mirror(zoom.from));
    }

    void closingWithADeadConnectionNeitherHangsNorThrows() {
        KestromFixture f;
        f.openConnected();
        f.db->connectionLost = true;
        find<QAction>(f.window.get(), "EN")->trigger();
        QVERIFY(!f.window->hasDatabase());
        QVERIFY(!f.window->isVisible());
    }

    void resizingStretchesTheListAndKeepsTheMinimum() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        Kestrom* w = f.window.get();
        auto* frame = find<QGroupBox>(w, "Frame1");
        auto* exit = find<QPushButton>(w, "cmdEN");
        auto* search = find<QPushButton>(w, "cmdSearch");
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
