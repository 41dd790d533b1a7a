#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "classic/pointer.h"
#include "classic/twips.h"
#include "console/gridcolumns.h"
#include "console/sessiongrid.h"
#include "decor/frmsearch.h"
#include "kestromfixture.h"
#include "oracle/sessionquery.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using testsupport::KestromFixture;

// Searching and killing sessions through the main window and the in-process database.
class TestSessions : public QObject {
    Q_OBJECT

    static QStringList row(SessionGrid* g, int r) {
        QStringList cells;
        for (int c = colNo; c < kListColumns; ++c)
            cells << g->TextMatrix(r, c);
        return cells;
    }
    // While the next call waits: after `ms`, types Delete (dropped) and Esc (ends the wait),
    // noting what the status bar's notice said by then.
    static void escAfter(KestromFixture& f, int ms, QString& noticeSeen) {
        QTimer::singleShot(ms, f.window.get(), [&f, &noticeSeen] {
            noticeSeen = f.find<QLabel>("sbStatusBar_Notice")->text();
            QTest::keyClick(f.grid(), Qt::Key_Delete);
            QTest::keyClick(f.grid(), Qt::Key_Escape);
        });
    }
    static QStringList killStatements(const KestromFixture& f) {
        return f.db->statements.filter(QStringLiteral("ALTER SYSTEM"));
    }
    static SessionGrid* gridOf(KestromFixture& f) {
        return f.window->findChild<SessionGrid*>(QStringLiteral("MSFlexGrid1"));
    }
    // The session IDs of the rows the grid shows highlighted, and of its current row.
    static QStringList highlighted(SessionGrid* g) {
        QStringList sids;
        for (const QModelIndex& index : g->selectionModel()->selectedRows())
            sids << index.data().toString();
        return sids;
    }
    static QString current(SessionGrid* g) {
        return g->model()->index(g->currentIndex().row(), 0).data().toString();
    }
    static QPoint rowCentre(SessionGrid* g, int row) {
        return g->visualRect(g->model()->index(row, 1)).center();
    }
    // Opens the context menu over a data row (0-based) with a right click and presses a key in
    // it.
    static void contextMenuKey(SessionGrid* g, int row, Qt::Key key) {
        bool shown = false;
        QTimer::singleShot(0, g, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                shown = true;
                QTest::keyClick(menu, key);
                if (menu->isVisible())
                    menu->close();
            }
        });
        // A right click, and the context-menu request the window system makes of it.
        const QPoint at = rowCentre(g, row);
        QTest::mouseClick(g->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, g->viewport()->mapToGlobal(at));
        QApplication::sendEvent(g->viewport(), &request);
        QVERIFY(shown);
    }

private Q_SLOTS:
    void initTestCase() { testsupport::initWindowTests(); }
    void init() { classic::MsgBoxHook::clear(); }

    void searchFillsTheGridInOrderWithTheColumnMapping() {
        KestromFixture f;
        auto& s = f.db->sessions;
        s.push_back(fakeoracle::makeSession(30, 2, QStringLiteral("HOSTA")));
        s.push_back(
            fakeoracle::makeSession(12, 345, QStringLiteral("HOSTA"), QStringLiteral("ACTIVE")));
        s.push_back(fakeoracle::makeSession(30, 1, QStringLiteral("HOSTA")));
        s.push_back(fakeoracle::makeSession(99, 1, QStringLiteral("HOSTB")));
        fakeoracle::Session blank = fakeoracle::makeSession(40, 4, QStringLiteral("HOSTA"));
        blank.osuser = blank.username = blank.program = QVariant();
        blank.logonTime = QString();
        s.push_back(blank);
        f.openConnected();
        f.search(QStringLiteral("hosta"));
        SessionGrid* g = f.grid();
        QCOMPARE(g->Rows(), 5);
        QCOMPARE(row(g, 1),
                 (testsupport::strings({"1", "12", "345", "ACTIVE", "HOSTA", "oracle", "SCOTT",
                                        "sqlplus@HOSTA", "2026/12/07 9:05:07"})));
        QCOMPARE(row(g, 2)[colSid] + u',' + row(g, 2)[colSerial], QStringLiteral("30,1"));
        QCOMPARE(row(g, 3)[colSid] + u',' + row(g, 3)[colSerial], QStringLiteral("30,2"));
        QCOMPARE(row(g, 4), (testsupport::strings(
                                {"4", "40", "4", "INACTIVE", "HOSTA", "－", "－", "－", "－"})));
        // The last row written stays current, column 0; the kill button is on; the grid has
        // the focus; the banner is gone.
        QCOMPARE(g->Row(), 4);
        QCOMPARE(g->Col(), 0);
        QVERIFY(f.find<QPushButton>("cmdSessionCt")->isEnabled());
        QCOMPARE(f.window->focusWidget(), g);
        QVERIFY(!frmSearch::instance());
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void aCutCellShowsItsWholeTextWhenTheMouseRestsOnIt() {
        KestromFixture f;
        fakeoracle::Session s = fakeoracle::makeSession(12, 345, QStringLiteral("HOSTA"));
        const QString program = QStringLiteral("会計システム月次締め処理バッチ.exe");
        s.program = program;
        f.db->sessions.push_back(s);
        f.openConnected();
        f.search(QString());
        SessionGrid* g = f.grid();
        QCoreApplication::processEvents();
        const auto rest = [g](GridColumn column) {
            const QPoint at = g->visualRect(g->model()->index(0, column - 1)).center();
            QHelpEvent help(QEvent::ToolTip, at, g->viewport()->mapToGlobal(at));
            QApplication::sendEvent(g->viewport(), &help);
        };
        rest(colSid);
        QVERIFY(!QToolTip::isVisible());
        rest(colProgram);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), program);
        // The column keeps its designed width.
        QCOMPARE(g->columnWidth(colProgram - 1),
                 classic::TwipsToPixelsX(kGridColumns[colProgram].width));
        rest(colSid);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void emptyNameListsAllAndNumberingRestarts() {
        KestromFixture f;
        for (int i = 1; i <= 3; ++i)
            f.db->sessions.push_back(fakeoracle::makeSession(i, i, QStringLiteral("M%1").arg(i)));
        f.openConnected();
        f.search(QString());
        QCOMPARE(f.grid()->Rows(), 4);
        QVERIFY(!f.db->statements.last().contains(QStringLiteral("WHERE")));
        f.search(QStringLiteral("m2"));
        QCOMPARE(f.grid()->Rows(), 2);
        QCOMPARE(row(f.grid(), 1)[colNo], QStringLiteral("1"));
        QCOMPARE(row(f.grid(), 1)[colTerminal], QStringLiteral("M2"));
    }

    void aQuoteInTheNameIsSearchedExactly() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(8, 1, QStringLiteral("O'HARA")));
        f.openConnected();
        f.search(QStringLiteral("o'hara"));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QCOMPARE(f.grid()->Rows(), 2);
        QVERIFY(f.db->statements.last().contains(QStringLiteral("WHERE terminal = 'O''HARA'")));
    }

    void pastedNameIsOneLineOfAtMost15Characters_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("full");
        const QString a14(14, u'A');
        const QString kanji = QStringLiteral(u"\U00020B9F"); // outside the BMP: a surrogate pair
        QTest::newRow("NUL, line breaks and TABs")
            << QStringLiteral("\tO'H\0A\r\nRA\n") << QStringLiteral("O'HARA") << false;
        QTest::newRow("invisible format characters")
            << QStringLiteral(u"\u202EPC\u200B01\uFEFF\u2060") << QStringLiteral("PC01") << false;
        QTest::newRow("separators and half a pair")
            << QStringLiteral(u"PC\u2028") + QChar(0xD842) + QStringLiteral(u"-01\u2029")
            << QStringLiteral("PC-01") << false;
        QTest::newRow("16 letters") << QString(16, u'a') << QString(15, u'a') << true;
        QTest::newRow("a pair as the 15th character") << a14 + kanji << a14 + kanji << true;
        QTest::newRow("a pair as the 16th character") << a14 + u'A' + kanji << a14 + u'A' << true;
        QTest::newRow("a letter and its mark as the 15th character")
            << a14 + QStringLiteral(u"e\u0301x") << a14 + QStringLiteral(u"e\u0301") << true;
    }

    void pastedNameIsOneLineOfAtMost15Characters() {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QFETCH(bool, full);
        KestromFixture f;
        f.openConnected();
        QLineEdit* box = f.machineBox();
        QGuiApplication::clipboard()->setText(pasted);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), kept);
        f.click("cmdSearch");
        QCOMPARE(f.db->statements.last(), ora::SessionQuery(kept.toUpper()));
        // A full box takes no more, wherever the cursor is.
        if (full) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Home);
            QTest::keyClick(box, Qt::Key_Right);
            QTest::keyClicks(box, QStringLiteral("Z"));
            QCOMPARE(box->text(), kept);
        }
    }

    void theKillQuestionIsAYesNoBoxThatEscapeAnswersNo() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(21, 3, QStringLiteral("FARPC")));
        f.openConnected();
        f.search(QStringLiteral("farpc"));
        QString title, text, defaultButton;
        QStringList buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        // The real box this time; the hook answers again once it is open, so that a box after
        // it (the report of a kill Escape should not have made) cannot hang the test.
        classic::MsgBoxHook::disable();
        auto hookBack = qScopeGuard([] { classic::MsgBoxHook::enable(); });
        testsupport::runModal(
            [&] {
                f.grid()->setFocus();
                QTest::keyClick(f.grid(), Qt::Key_Delete);
            },
            [&](QDialog& dialog) {
                classic::MsgBoxHook::enable();
                auto* box = qobject_cast<QMessageBox*>(&dialog);
                QVERIFY(box);
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                for (const QAbstractButton* button : box->buttons())
                    buttons << button->text();
                if (box->defaultButton())
                    defaultButton = box->defaultButton()->text();
                QTest::keyClick(box, Qt::Key_Escape);
            },
            "kill question");
        QCOMPARE(title, QStringLiteral("切断確認"));
        QCOMPARE(text, QStringLiteral("他人のセッションを切断しようとそています。\n"
                                      "処理を続けてもよろしいですか？"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
        QCOMPARE(defaultButton, QStringLiteral("はい(&Y)"));
        QVERIFY(killStatements(f).isEmpty());
        QCOMPARE(f.grid()->Rows(), 2);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void noMatchLeavesTheHeaderAndTheKillButtonOn() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(8, 1, KestromFixture::thisComputer()));
        f.openConnected();
        QCOMPARE(f.grid()->Rows(), 2);
        f.search(QStringLiteral("nobody"));
        QCOMPARE(f.grid()->Rows(), 1);
        auto* kill = f.find<QPushButton>("cmdSessionCt");
        QVERIFY(kill->isEnabled());
        // The kill command then does nothing at all.
        f.db->statements.clear();
        f.click("cmdSessionCt");
        QVERIFY(f.db->statements.isEmpty());
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void failedSearchReportsAndKeepsOnlyItsOwnRows() {
        KestromFixture f;
        for (int i = 1; i <= 5; ++i)
            f.db->sessions.push_back(fakeoracle::makeSession(i, 1, QStringLiteral("HOSTA")));
        f.openConnected();
        f.search(QStringLiteral("HOSTA"));
        QCOMPARE(f.grid()->Rows(), 6);
        // A fetch failing at the third row ends the search part way.
        f.db->failFromRow = 2;
        f.search(QStringLiteral("HOSTA"));
        QCOMPARE(classic::MsgBoxHook::log().size(), 1);
        const classic::MsgBoxRecord box = classic::MsgBoxHook::log()[0];
        QVERIFY(box.text.startsWith(
            QStringLiteral("以下の理由により検索できませんでした。\r\n\r\n「")));
        QVERIFY(box.text.endsWith(QStringLiteral("」")));
        QCOMPARE(box.style, 64);
        QCOMPARE(box.title, QStringLiteral("Kestrom"));
        QCOMPARE(f.grid()->Rows(), 3);
        QCOMPARE(row(f.grid(), 2)[colSid], QStringLiteral("2"));
        QVERIFY(!frmSearch::instance());

        classic::MsgBoxHook::clear();
        f.db->failFromRow = -1;
        f.db->mayRead = false;
        f.search(QStringLiteral("HOSTA"));
        QCOMPARE(classic::MsgBoxHook::log()[0].text,
                 QStringLiteral("以下の理由により検索できませんでした。\r\n\r\n「ORA-00942: table "
                                "or view does not exist」"));
        QCOMPARE(f.grid()->Rows(), 1);
    }

    void closingWhileTheSearchLetsEventsRunStopsTheSearch() {
        KestromFixture f;
        f.openConnected();
        const qsizetype before = f.db->statements.size();
        // A click on the close box that is pending when the search lets events run.
        QMetaObject::invokeMethod(f.window.get(), &QWidget::close, Qt::QueuedConnection);
        f.click("cmdSearch");
        QCOMPARE(f.db->statements.size(), before);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QVERIFY(!frmSearch::instance());
        QCOMPARE(f.db->closes.load(), 1);
    }

    void keysPressedWhileASearchBlocksAreDiscarded() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, KestromFixture::thisComputer()));
        f.openConnected();
        f.db->statements.clear();
        // A Delete pressed while the query runs waits in the queue; afterwards the grid has the
        // focus and would kill the session listed last, which nobody confirmed.
        // Posted from the call's thread, which must not walk the widgets to find the grid.
        SessionGrid* grid = f.grid();
        f.db->duringCall = [grid] {
            QCoreApplication::postEvent(
                grid, new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
        };
        f.search(KestromFixture::thisComputer());
        f.db->duringCall = nullptr;
        QApplication::processEvents();
        QCOMPARE(f.window->focusWidget(), f.grid());
        QVERIFY(killStatements(f).isEmpty());
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void searchWhileNotConnectedConnectsFirst() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        f.setScript({KestromFixture::login()});
        f.click("cmdSearch");
        QVERIFY(f.showsConnected());
        QCOMPARE(f.db->statements.size(), 1);
    }

    void killOfOwnSessionAsksNothingAndRefreshesUnderTheHourglass() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(12, 345, me));
        f.db->sessions.push_back(fakeoracle::makeSession(13, 7, me));
        f.openConnected();
        f.clickRow(1);
        int pointerDuringRefresh = -1;
        classic::MsgBoxHook::setOnShow([&](const classic::MsgBoxRecord&) {
            pointerDuringRefresh = classic::MousePointer(f.window.get());
            return int(classic::vbOK);
        });
        f.db->statements.clear();
        f.click("cmdSessionCt");
        QCOMPARE(killStatements(f),
                 QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '12,345'")});
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 64);
        QCOMPARE(pointerDuringRefresh, classic::vbDefault);
        QCOMPARE(classic::MousePointer(f.window.get()), classic::vbDefault);
        // Refreshed for the last searched machine.
        QCOMPARE(f.db->statements.size(), 2);
        QCOMPARE(f.grid()->Rows(), 2);
        QCOMPARE(row(f.grid(), 1)[colSid], QStringLiteral("13"));
    }

    void confirmationRuleForOtherTerminals_data() {
        QTest::addColumn<QString>("terminal");
        QTest::addColumn<bool>("asks");
        QTest::newRow("this computer") << QString() << false;
        QTest::newRow("another machine") << QStringLiteral("OTHERPC") << true;
        QTest::newRow("no terminal") << QStringLiteral("－") << true;
        QTest::newRow("differs in case") << QStringLiteral("lower") << true;
    }

    void confirmationRuleForOtherTerminals() {
        QFETCH(QString, terminal);
        QFETCH(bool, asks);
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        if (terminal.isEmpty())
            terminal = me;
        else if (terminal == QStringLiteral("lower"))
            terminal = me.toLower() == me ? me.toUpper() : me.toLower();
        fakeoracle::Session s = fakeoracle::makeSession(21, 3, terminal);
        if (terminal == QStringLiteral("－"))
            s.terminal = QVariant();
        f.db->sessions.push_back(s);
        f.openConnected();
        f.search(QString());
        QCOMPARE(f.grid()->Rows(), 2);
        classic::MsgBoxHook::setNextAnswers({classic::vbNo});
        f.grid()->setFocus();
        QTest::keyClick(f.grid(), Qt::Key_Delete);
        const auto log = classic::MsgBoxHook::log();
        if (asks) {
            QCOMPARE(log.size(), 1);
            QCOMPARE(log[0].text, QStringLiteral("他人のセッションを切断しようとそています。\r\n処"
                                                 "理を続けてもよろしいですか？"));
            QCOMPARE(log[0].title, QStringLiteral("切断確認"));
            QCOMPARE(log[0].style, 52);
            // No: nothing sent, nothing changed.
            QVERIFY(killStatements(f).isEmpty());
            QCOMPARE(f.grid()->Rows(), 2);
        } else {
            QCOMPARE(killStatements(f).size(), 1);
            QCOMPARE(log[0].text, QStringLiteral("セッションを切断しました。"));
        }
    }

    void yesKillsAnotherMachinesSession() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(21, 3, QStringLiteral("FARAWAY")));
        f.openConnected();
        f.search(QStringLiteral("faraway"));
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        f.click("cmdSessionCt");
        QCOMPARE(killStatements(f),
                 QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '21,3'")});
        QCOMPARE(f.grid()->Rows(), 1);
        QVERIFY(f.db->statements.last().contains(QStringLiteral("'FARAWAY'")));
    }

    void sortingKeepsTheKillOnTheChosenSession() {
        KestromFixture f;
        for (int sid : {3, 20, 100})
            f.db->sessions.push_back(fakeoracle::makeSession(sid, sid + 1, QStringLiteral("PCS")));
        f.openConnected();
        f.search(QStringLiteral("pcs"));
        SessionGrid* g = f.grid();
        QHeaderView* header = g->horizontalHeader();
        const QPoint sidHeader(header->sectionViewportPosition(0) + 5, header->height() / 2);
        f.clickRow(2); // sid 20
        // Ascending, then descending: as numbers, not as text.
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sidHeader);
        QVERIFY(header->isSortIndicatorShown());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sidHeader, 500);
        QCOMPARE(g->TextMatrix(1, colSid) + u' ' + g->TextMatrix(2, colSid) + u' ' +
                     g->TextMatrix(3, colSid),
                 QStringLiteral("100 20 3"));
        QCOMPARE(g->Row(), 2); // still sid 20
        f.clickRow(1);
        QTest::keySequence(g, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text().split(u'\n').value(1),
                 QStringLiteral("3\t100\t101\tINACTIVE\tPCS\toracle\tSCOTT\tsqlplus@PCS\t"
                                "2026/12/07 9:05:07"));
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        f.click("cmdSessionCt");
        QCOMPARE(killStatements(f),
                 QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '100,101'")});
        // The refreshed list comes in the query's order again.
        QCOMPARE(g->TextMatrix(1, colSid), QStringLiteral("3"));
        QVERIFY(!header->isSortIndicatorShown());
    }

    void failedKillReportsAndLeavesTheGrid_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("session gone")
            << 30 << QStringLiteral("ORA-00030: User session ID does not exist.");
        QTest::newRow("no privilege")
            << 1031 << QStringLiteral("ORA-01031: insufficient privileges");
    }

    void failedKillReportsAndLeavesTheGrid() {
        QFETCH(int, fault);
        QFETCH(QString, reason);
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(12, 345, me));
        f.openConnected();
        if (fault == 30)
            f.db->sessions.clear();
        else
            f.db->mayKill = false;
        const int statementsBefore = static_cast<int>(f.db->statements.size());
        f.click("cmdSessionCt");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("以下の理由により切断できませんでした。\r\n\r\n「") +
                             reason + u'」'});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 64);
        // No refresh: the grid still shows the row, column 1 current.
        QCOMPARE(f.db->statements.size(), statementsBefore + 1);
        QCOMPARE(f.grid()->Rows(), 2);
        QCOMPARE(f.grid()->Col(), 1);
    }

    void aRowWithoutANumericKeyIsNeitherKilledNorRead() {
        KestromFixture f;
        fakeoracle::Session broken =
            fakeoracle::makeSession(1, 345, KestromFixture::thisComputer());
        broken.sid = QStringLiteral("-5"); // as a broken view may give it
        f.db->sessions.push_back(broken);
        f.openConnected();
        const qsizetype statementsBefore = f.db->statements.size();
        const QString reason =
            QStringLiteral("\r\n\r\n「ｾｯｼｮﾝIDまたはｼﾘｱﾙNo.が数値ではありません。」");
        f.click("cmdSessionCt");
        f.doubleClickRow(1);
        QCOMPARE(
            testsupport::messageTexts(),
            (QStringList{QStringLiteral("以下の理由により切断できませんでした。") + reason,
                         QStringLiteral("以下の理由により詳細を取得できませんでした。") + reason}));
        QCOMPARE(f.db->statements.size(), statementsBefore);
    }

    void sessionMarkedForKillCountsAsKilled() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(12, 345, me));
        f.openConnected();
        f.db->killAnswer = 31;
        f.click("cmdSessionCt");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
        QCOMPARE(f.grid()->Rows(), 1);
    }

    void lostConnectionBeforeAKillThenRecovery() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(12, 345, me));
        f.openConnected();
        f.db->connectionLost = true;
        f.click("cmdSessionCt");
        QVERIFY(testsupport::messageTexts().value(0).contains(QStringLiteral("ORA-03113")));
        classic::MsgBoxHook::clear();
        f.choose("Search");
        QVERIFY(testsupport::messageTexts().value(0).startsWith(
            QStringLiteral("以下の理由により検索できませんでした。")));
        // Disconnect and reconnect work; the window then closes without a hang.
        f.choose("Cutting");
        QVERIFY(!f.showsConnected());
        f.db->connectionLost = false;
        f.setScript({KestromFixture::login()});
        f.choose("Link");
        QVERIFY(f.showsConnected());
        f.window->close();
        QCOMPARE(f.db->closes.load(), 2);
    }

    void onlyTheCurrentRowIsHighlightedKilledAndCopied() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        for (int sid : {11, 12, 13, 14})
            f.db->sessions.push_back(fakeoracle::makeSession(sid, sid * 10, me));
        f.openConnected();
        SessionGrid* g = gridOf(f);
        QTRY_COMPARE(highlighted(g), QStringList{QStringLiteral("14")});
        g->setFocus();
        // Shift+Up moves the current row; it never highlights a block of rows.
        QTest::keyClick(g, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(g, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(highlighted(g), QStringList{QStringLiteral("12")});
        QCOMPARE(current(g), QStringLiteral("12"));
        // Ctrl+click on the current row leaves it highlighted; a drag highlights only the row
        // it ends on, which becomes current.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(g, 1));
        QCOMPARE(highlighted(g), QStringList{QStringLiteral("12")});
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, rowCentre(g, 0));
        QTest::mouseMove(g->viewport(), rowCentre(g, 2));
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, rowCentre(g, 2));
        QCOMPARE(highlighted(g).size(), 1);
        QCOMPARE(highlighted(g).first(), current(g));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(g, 2));
        QCOMPARE(highlighted(g), QStringList{QStringLiteral("13")});

        // Ctrl+C copies the current row under the header line.
        QApplication::clipboard()->clear();
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        const QString header = QStringLiteral("No.\tｾｯｼｮﾝID\tｼﾘｱﾙNo.\t状態\t端末名\tOSﾕｰｻﾞ名\t"
                                              "DBﾕｰｻﾞ名\tﾌﾟﾛｸﾞﾗﾑ名\tﾛｸﾞｲﾝ時刻\n");
        auto line = [&](int no, int sid) {
            return QStringLiteral("%1\t%2\t%3\tINACTIVE\t%4\toracle\tSCOTT\tsqlplus@%4\t"
                                  "2026/12/07 9:05:07\n")
                .arg(no)
                .arg(sid)
                .arg(sid * 10)
                .arg(me);
        };
        QCOMPARE(QApplication::clipboard()->text(), header + line(3, 13));
        // すべてコピー copies every listed row in the order shown; コピー the row clicked on.
        contextMenuKey(g, 0, Qt::Key_A);
        QCOMPARE(QApplication::clipboard()->text(),
                 header + line(1, 11) + line(2, 12) + line(3, 13) + line(4, 14));
        contextMenuKey(g, 1, Qt::Key_C);
        QCOMPARE(QApplication::clipboard()->text(), header + line(2, 12));
        QCOMPARE(highlighted(g), QStringList{QStringLiteral("12")});

        // Delete ends the highlighted session, and only that one.
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(killStatements(f),
                 QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '12,120'")});

        // SQL中止 cancels the statement of the row chosen; this computer's session is not
        // asked about, and the server's refusal is shown as it came.
        classic::MsgBoxHook::clear();
        contextMenuKey(g, 2, Qt::Key_Q);
        QCOMPARE(killStatements(f).last(), QStringLiteral("ALTER SYSTEM CANCEL SQL '14, 140'"));
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("以下の理由によりSQL文を中止できませんでした。\r\n\r\n"
                                            "「ORA-00900: invalid SQL statement」")});
    }

    void typedCharactersDoNotMoveTheKillTarget() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        for (int sid : {1, 10, 23})
            f.db->sessions.push_back(fakeoracle::makeSession(sid, 1, me));
        f.openConnected();
        SessionGrid* g = gridOf(f);
        QTRY_COMPARE(highlighted(g), QStringList{QStringLiteral("23")});
        g->setFocus();
        QTest::keyClicks(g, QStringLiteral("1a "));
        QCOMPARE(highlighted(g), QStringList{QStringLiteral("23")});
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(killStatements(f),
                 QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '23,1'")});
    }

    void rowsThatCannotBeShownAreLeftOutAndCounted() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        auto& s = f.db->sessions;
        s.push_back(fakeoracle::makeSession(12, 345, me));
        fakeoracle::Session noSid = fakeoracle::makeSession(13, 1, me);
        noSid.sid = QVariant();
        fakeoracle::Session noSerial = fakeoracle::makeSession(14, 2, me);
        noSerial.serial = QVariant();
        fakeoracle::Session noStatus = fakeoracle::makeSession(15, 3, me);
        noStatus.status = QVariant();
        fakeoracle::Session noLogon = fakeoracle::makeSession(16, 4, me);
        noLogon.logonTime = QVariant();
        s.insert(s.end(), {noSid, noSerial, noStatus, noLogon});
        s.push_back(fakeoracle::makeSession(17, 5, me));
        f.openConnected();
        auto* notice = f.window->findChild<QLabel*>(QStringLiteral("sbStatusBar_Notice"));
        auto shown = [&] {
            QStringList rows;
            SessionGrid* g = gridOf(f);
            for (int r = 0; r < g->model()->rowCount(); ++r)
                rows << g->TextMatrix(r + 1, colNo) + u':' + g->TextMatrix(r + 1, colSid) + u',' +
                            g->TextMatrix(r + 1, colSerial);
            return rows;
        };
        // Logged in: the sessions that can be shown are listed and numbered in order; the
        // others are counted in the status bar with the reason.
        QCOMPARE(f.window->findChild<QPushButton*>(QStringLiteral("CmdDB"))->text(),
                 QStringLiteral("ＤＢ切断"));
        QCOMPARE(shown(), (QStringList{QStringLiteral("1:12,345"), QStringLiteral("2:17,5")}));
        QVERIFY(notice && notice->isVisible());
        QCOMPARE(notice->text(),
                 QStringLiteral("ｾｯｼｮﾝ4件を表示できません（Null の使い方が不正です。）"));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        // A search lists them the same way, without a failure.
        QTest::keyClick(f.machineBox(), Qt::Key_Return);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QCOMPARE(shown(), (QStringList{QStringLiteral("1:12,345"), QStringLiteral("2:17,5")}));
        // Delete on the last row ends the session shown there; the refresh still counts.
        QTest::keyClick(gridOf(f), Qt::Key_Delete);
        QCOMPARE(killStatements(f),
                 QStringList{QStringLiteral("ALTER SYSTEM KILL SESSION '17,5'")});
        QCOMPARE(shown(), QStringList{QStringLiteral("1:12,345")});
        QCOMPARE(notice->text(),
                 QStringLiteral("ｾｯｼｮﾝ4件を表示できません（Null の使い方が不正です。）"));
        // Once every session can be shown, the count goes.
        s.erase(s.begin() + 1, s.end());
        QTest::keyClick(f.machineBox(), Qt::Key_Return);
        QVERIFY(notice->isHidden());
    }

    void f5PressedWhileAKillBlocksIsDiscarded() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, me));
        f.db->sessions.push_back(fakeoracle::makeSession(8, 80, me));
        f.openConnected();
        SessionGrid* g = gridOf(f);
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        // F5 typed once while the kill's statement blocks the window: carried out afterwards,
        // it would search before the success message.
        bool typed = false;
        f.db->duringCall = [&] {
            if (!std::exchange(typed, true))
                QCoreApplication::postEvent(
                    g, new QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier));
        };
        f.db->statements.clear();
        int statementsAtMessage = -1;
        classic::MsgBoxHook::setOnShow([&](const classic::MsgBoxRecord&) {
            statementsAtMessage = static_cast<int>(f.db->statements.size());
            return int(classic::vbOK);
        });
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Delete);
        QApplication::processEvents();
        classic::MsgBoxHook::setOnShow(nullptr);
        QVERIFY(typed);
        QCOMPARE(statementsAtMessage, 1);
        QCOMPARE(f.db->statements.size(), 2); // the kill and its refresh
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
    }

    // --- Calls the server does not answer: one row per way a wait ends. ---
    // The window stays alive; Esc (or the call time-out) ends the wait with Oracle's text,
    // the connection stays and serves the next call. A kill broken off may still be carried
    // out: the user hears exactly that, and the list is read again to show whether the
    // session is there.
    void aSlowCallEndsAndTheConnectionStays_data() {
        QTest::addColumn<QString>("call"); // "search", "kill" or "details"
        QTest::addColumn<int>("escMs");    // when Esc is typed; -1: the call times out
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kills"); // kill statements sent
        QTest::addColumn<int>("rowsAfter");
        const QString cancelled =
            QStringLiteral("「ORA-01013: user requested cancel of current operation」");
        const QString unknown =
            QStringLiteral("以下の理由により、ｾｯｼｮﾝが切断されたかどうか不明です。\r\n"
                           "一覧を更新しますので、ｾｯｼｮﾝが残っているか確認してください。\r\n\r\n");
        QTest::newRow("Esc during a search")
            << QStringLiteral("search") << 1200
            << QStringLiteral("以下の理由により検索できませんでした。\r\n\r\n") + cancelled << 0
            << 1;
        QTest::newRow("Esc during a kill")
            << QStringLiteral("kill") << 300 << unknown + cancelled << 1 << 2;
        QTest::newRow("a kill that timed out")
            << QStringLiteral("kill") << -1
            << unknown + QStringLiteral("「ORA-03156: OCI call timed out」") << 1 << 2;
        QTest::newRow("Esc during the details")
            << QStringLiteral("details") << 300
            << QStringLiteral("以下の理由により詳細を取得できませんでした。\r\n\r\n") + cancelled
            << 0 << 2;
    }

    void aSlowCallEndsAndTheConnectionStays() {
        QFETCH(QString, call);
        QFETCH(int, escMs);
        QFETCH(QString, message);
        QFETCH(int, kills);
        QFETCH(int, rowsAfter);
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, me));
        f.openConnected();
        if (call == QStringLiteral("kill"))
            f.clickRow(1);
        f.db->callMs = 10000;
        QString notice;
        if (escMs >= 0)
            escAfter(f, escMs, notice);
        else
            f.db->timeOutMs = 200;
        // The refresh after a kill's message is answered at once.
        classic::MsgBoxHook::setOnShow([&](const classic::MsgBoxRecord&) {
            f.db->callMs = 0;
            return int(classic::vbOK);
        });
        QElapsedTimer clock;
        clock.start();
        if (call == QStringLiteral("search"))
            f.search(me);
        else if (call == QStringLiteral("kill"))
            f.click("cmdSessionCt");
        else
            f.doubleClickRow(1);
        classic::MsgBoxHook::setOnShow(nullptr);
        QVERIFY(clock.elapsed() < 2500);
        QCOMPARE(testsupport::messageTexts(), QStringList{message});
        QCOMPARE(killStatements(f).size(), kills);
        if (kills > 0)
            QVERIFY(f.db->statements.last().contains(QStringLiteral("FROM v$session")));
        QCOMPARE(f.grid()->Rows(), rowsAfter);
        QCOMPARE(classic::MousePointer(f.window.get()), int(classic::vbDefault));
        QVERIFY(f.showsConnected());
        if (escMs >= 1000) {
            // A wait of more than a second said how to end it, and says so no more.
            QCOMPARE(notice, QStringLiteral("Escｷｰで待機を中止します"));
            QVERIFY(f.find<QLabel>("sbStatusBar_Notice")->isHidden());
        }
        // The same connection serves the next search.
        f.db->callMs = 0;
        f.db->timeOutMs = 0;
        classic::MsgBoxHook::clear();
        f.search(me);
        QCOMPARE(f.grid()->Rows(), 2);
        QCOMPARE(f.db->logons.size(), 1);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }
    // --- End of the calls the server does not answer. ---

    // The close box during a call that hangs: the call is broken off, the database logged off,
    // nothing is reported, and the window closes well within the five seconds.
    void closeDuringASlowSearchLogsOffAtOnce() {
        KestromFixture f;
        f.openConnected();
        f.db->callMs = 20000;
        QTimer::singleShot(300, f.window.get(), [&f] { f.window->close(); });
        QElapsedTimer clock;
        clock.start();
        f.search(KestromFixture::thisComputer());
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(f.db->closes.load(), 1);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QVERIFY(!f.window->isVisible());
    }

    void copiedFieldsAreQuotedForSpreadsheets() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        const QStringList programs{QStringLiteral("tab\there"), QStringLiteral("cr\rlf\nend"),
                                   QStringLiteral("say \"hi\""), QStringLiteral("plain")};
        for (int i = 0; i < programs.size(); ++i) {
            fakeoracle::Session s = fakeoracle::makeSession(i + 1, 1, me);
            s.program = programs[i];
            f.db->sessions.push_back(s);
        }
        f.openConnected();
        SessionGrid* g = gridOf(f);
        // A field holding a TAB, CR, LF or quote is quoted, its quotes doubled.
        auto line = [&](int n, const QString& program) {
            return QStringLiteral("%1\t%1\t1\tINACTIVE\t%2\toracle\tSCOTT\t%3\t"
                                  "2026/12/07 9:05:07\n")
                .arg(n)
                .arg(me, program);
        };
        const QStringList quoted{QStringLiteral("\"tab\there\""), QStringLiteral("\"cr\rlf\nend\""),
                                 QStringLiteral("\"say \"\"hi\"\"\""), QStringLiteral("plain")};
        contextMenuKey(g, 0, Qt::Key_A);
        const QString text = QApplication::clipboard()->text();
        QCOMPARE(text.section(u'\n', 1),
                 line(1, quoted[0]) + line(2, quoted[1]) + line(3, quoted[2]) + line(4, quoted[3]));
        // The current row alone is quoted the same way.
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Down);
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().section(u'\n', 1), line(2, quoted[1]));
    }
};

QTEST_MAIN(TestSessions)
#include "test_sessions.moc"
