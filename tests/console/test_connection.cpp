#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "kestromfixture.h"
#include "oracle/connection.h"
#include "platform/computername_internal.h"
#include "testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using testsupport::KestromFixture;

// Connecting and disconnecting through the scripted login dialog and the in-process database.
class TestConnection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::initWindowTests(); }

    void openingOffersTheDefaultsAndCancelLeavesItNotConnected() {
        KestromFixture f;
        f.open({KestromFixture::cancel()});
        QCOMPARE(f.prompts, (QList<QStringList>{
                                {QStringLiteral("system"), QStringLiteral("pelmora"), QString()}}));
        QCOMPARE(f.panel(1), QStringLiteral("- DB未接続 -"));
        QVERIFY(f.find<QPushButton>("CmdDB")->hasFocus());
        QVERIFY(f.db->logons.isEmpty());
    }

    void logsInThroughTheLoginDialogTheWindowOpensWith() {
        KestromFixture f(KestromFixture::Login::realDialog);
        f.db->sessions.push_back(fakeoracle::makeSession(5, 9, KestromFixture::thisComputer()));
        QStringList offered;
        testsupport::runModal(
            [&] { f.window->Form_Load(); },
            [&](QDialog& login) {
                QCOMPARE(login.windowTitle(), QStringLiteral("ログイン"));
                for (const char* name : {"txtUsrID", "txtPasswd", "txtLinkChrLine"})
                    if (auto* box = login.findChild<QLineEdit*>(QString::fromLatin1(name)))
                        offered << box->text();
                // Enter moves from the user ID to the password to the host
                // string, where it logs in.
                QTest::keyClick(login.focusWidget(), Qt::Key_Return);
                QTest::keyClick(login.focusWidget(), Qt::Key_Return);
                QTest::keyClicks(login.focusWidget(), QStringLiteral("ORCL"));
                QTest::keyClick(login.focusWidget(), Qt::Key_Return);
            },
            "login dialog");
        QCOMPARE(offered,
                 (QStringList{QStringLiteral("system"), QStringLiteral("pelmora"), QString()}));
        QCOMPARE(f.db->logons, QStringList{QStringLiteral("system@ORCL")});
        QVERIFY(f.showsConnected());
        QCOMPARE(f.panel(2), QStringLiteral("system / ORCL"));
        QCOMPARE(f.grid()->TextMatrix(1, colSid), QStringLiteral("5"));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void successfulLoginShowsUserAndHostNeverThePassword() {
        KestromFixture f;
        f.db->sessions.push_back(fakeoracle::makeSession(5, 9, QStringLiteral("X")));
        f.open({KestromFixture::login(QStringLiteral("system"), QStringLiteral("pelmora"),
                                      QStringLiteral("ORCL"))});
        QCOMPARE(f.panel(1), QStringLiteral("- DB接続中 -"));
        QCOMPARE(f.panel(2), QStringLiteral("system / ORCL"));
        QCOMPARE(f.db->logons, QStringList{QStringLiteral("system@ORCL")});
        // The probe searched for the machine in the box, quietly.
        QCOMPARE(f.db->statements.size(), 1);
        QVERIFY(f.db->statements[0].contains(
            QStringLiteral("WHERE terminal = '%1'").arg(KestromFixture::thisComputer().toUpper())));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void emptyValuesGiveOnlyTheFirstMessageAndNoNewDialog() {
        KestromFixture f;
        f.open({KestromFixture::login(QString(), QString(), QStringLiteral("ORCL"))});
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("ﾕｰｻﾞIDが未入力です。\r\n")});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 48);
        QCOMPARE(classic::MsgBoxHook::log()[0].title, classic::ExeName());
        QCOMPARE(f.prompts.size(), 1);
        QVERIFY(!f.showsConnected());

        classic::MsgBoxHook::clear();
        f.setScript({KestromFixture::login(QStringLiteral("u"), QString(), QString())});
        f.choose("Link");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("ﾊﾟｽﾜｰﾄﾞが未入力です。\r\n")});

        classic::MsgBoxHook::clear();
        f.setScript({KestromFixture::login(QStringLiteral("u"), QStringLiteral("p"), QString())});
        f.click("CmdDB");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("接続文字列が未入力です。\r\n")});
        QVERIFY(f.db->logons.isEmpty());
    }

    void failedLogonReportsAndOpensTheDialogAgainWithTheValuesTried() {
        KestromFixture f;
        f.open({KestromFixture::login(QStringLiteral("system"), QStringLiteral("wrong/p@ss"),
                                      QStringLiteral("ORCL")),
                KestromFixture::cancel()});
        QCOMPARE(testsupport::messageTexts(), QStringList{QStringLiteral("接続に失敗しました。")});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 48);
        // The client's own reason goes with the message, so a wrong password can be told from
        // a wrong host string or a missing library.
        QCOMPARE(classic::MsgBoxHook::log()[0].detail,
                 QStringLiteral("ORA-01017: invalid username/password; logon denied"));
        QCOMPARE(f.prompts.size(), 2);
        QCOMPARE(f.prompts[1], (QStringList{QStringLiteral("system"), QStringLiteral("wrong/p@ss"),
                                            QStringLiteral("ORCL")}));
        QCOMPARE(f.panel(1), QStringLiteral("- DB未接続 -"));
    }

    void retryAfterAFailureConnects() {
        KestromFixture f;
        f.open({KestromFixture::login(QStringLiteral("system"), QStringLiteral("bad"),
                                      QStringLiteral("ORCL")),
                KestromFixture::login()});
        QCOMPARE(f.find<QPushButton>("CmdDB")->text(), QStringLiteral("ＤＢ切断"));
        QCOMPARE(f.db->logons.size(), 1);
    }

    void missingClientLibraryIsAFailedConnection() {
        KestromFixture f;
        ora::SetSessionFactory([]() -> std::unique_ptr<ora::OraSession> {
            throw ora::OraError(QStringLiteral("libclntsh.so: cannot open shared object file"));
        });
        f.open({KestromFixture::login(), KestromFixture::cancel()});
        QCOMPARE(testsupport::messageTexts(), QStringList{QStringLiteral("接続に失敗しました。")});
        QCOMPARE(classic::MsgBoxHook::log()[0].detail,
                 QStringLiteral("libclntsh.so: cannot open shared object file"));
        QCOMPARE(f.prompts.size(), 2);
        QVERIFY(!f.showsConnected());
    }

    void userWithoutPrivilegeIsDisconnectedAndAskedAgain() {
        KestromFixture f;
        f.db->mayRead = false;
        f.open({KestromFixture::login(), KestromFixture::cancel()});
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{
                     QStringLiteral("このﾕｰｻﾞでは、ｾｯｼｮﾝを操作するための権限がありません。"
                                    "\r\nORACLEで設定されているSystem権限を確認してください。")});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 48);
        QCOMPARE(f.prompts.size(), 2);
        QTRY_COMPARE(f.db->closes.load(), 1);
        QCOMPARE(f.grid()->Rows(), 1);
        QCOMPARE(f.panel(1), QStringLiteral("- DB未接続 -"));
        QCOMPARE(f.panel(2), QString());
        QVERIFY(!f.find<QPushButton>("cmdSessionCt")->isEnabled());
    }

    void privilegeRetryCanSucceedAsAnotherUser() {
        KestromFixture f;
        f.db->mayRead = false;
        f.setScript({});
        // The second dialog logs in after the privilege was granted meanwhile.
        f.window->setLoginPrompt([&f, n = 0](QString& id, QString& pass, QString& host) mutable {
            ++n;
            if (n == 2)
                f.db->mayRead = true;
            id = QStringLiteral("system");
            pass = QStringLiteral("pelmora");
            host = QStringLiteral("ORCL");
            return qint16(n <= 2 ? -1 : 0);
        });
        f.window->Form_Load();
        QCOMPARE(f.panel(1), QStringLiteral("- DB接続中 -"));
        QCOMPARE(f.db->logons.size(), 2);
    }

    void unreadableComputerNameIsSearchedAsQuestionMarks() {
        platform::SetComputerNameForTest(QString());
        KestromFixture f;
        f.open({KestromFixture::login()});
        platform::SetComputerNameForTest(std::nullopt);
        QCOMPARE(f.machineBox()->text(), QStringLiteral("????????"));
        QVERIFY(f.db->statements.value(0).contains(
            QStringLiteral("WHERE terminal = '%1'").arg(QStringLiteral("????????"))));
    }

    void disconnectWithADeadConnectionStillEndsNotConnected() {
        KestromFixture f;
        f.openConnected();
        f.db->connectionLost = true;
        f.choose("Cutting");
        QVERIFY(!f.showsConnected());
        QTRY_COMPARE(f.db->closes.load(), 1);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        // And a new connection works once the server is back.
        f.db->connectionLost = false;
        f.setScript({KestromFixture::login()});
        f.choose("Link");
        QVERIFY(f.showsConnected());
    }

    // A logon that hangs cannot be broken off: Esc gives it up, the user is told, the login
    // dialog comes back, and the connection made later is logged off at once.
    void escGivesUpAHangingLogonThatIsLoggedOffWhenItCompletes() {
        KestromFixture f;
        f.db->logonMs = 1500;
        QTimer::singleShot(300, f.window.get(),
                           [&f] { QTest::keyClick(f.machineBox(), Qt::Key_Escape); });
        f.open({KestromFixture::login(), KestromFixture::cancel()});
        QCOMPARE(testsupport::messageTexts(), QStringList{QStringLiteral("接続を中止しました。")});
        QCOMPARE(f.prompts.size(), 2);
        QVERIFY(!f.showsConnected());
        // The logon and its logoff end on the connection's thread, in the background.
        QVERIFY(ora::WaitForClientCalls(5000));
        QCOMPARE(f.db->logons.size(), 1);
        QCOMPARE(f.db->closes.load(), 1);
        QVERIFY(f.db->statements.isEmpty());
    }

    // The program never ends with a thread inside the client library when it can help it: a
    // close during a slow logon waits for it, within the close bound, and logs it off.
    void closeDuringAHangingLogonLogsItOffBeforeTheWindowEnds() {
        KestromFixture f;
        f.db->logonMs = 1500;
        QTimer::singleShot(300, f.window.get(), [&f] { f.window->close(); });
        f.setScript({KestromFixture::login()});
        QElapsedTimer clock;
        clock.start();
        f.window->Form_Load();
        QVERIFY(clock.elapsed() >= 1400 && clock.elapsed() < 2500);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.db->closes.load(), 1);
        QVERIFY(f.db->statements.isEmpty());
    }

    // A break the server never answers: two seconds after Esc the wait ends, the connection
    // is dropped and the window says so, and nothing more is sent on it.
    void escThatTheServerIgnoresDropsTheConnection() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, me));
        f.openConnected();
        f.db->callMs = 4000;
        f.db->breakIgnored = true;
        QTimer::singleShot(300, f.window.get(),
                           [&f] { QTest::keyClick(f.machineBox(), Qt::Key_Escape); });
        QElapsedTimer clock;
        clock.start();
        f.search(me);
        // Given up once the break has had its time, well before the server would answer.
        QVERIFY(clock.elapsed() >= 300 + ora::Connection::kGiveUpMs && clock.elapsed() < 3000);
        const QString dropped =
            QStringLiteral("以下の理由により検索できませんでした。\r\n\r\n"
                           "「ｻｰﾊﾞｰが中断に応答しないため、接続を切り離しました。」");
        QCOMPARE(testsupport::messageTexts(), QStringList{dropped});
        QCOMPARE(f.panel(1), QStringLiteral("- DB接続断 -"));
        QCOMPARE(f.grid()->Rows(), 1);
        classic::MsgBoxHook::clear();
        f.search(me);
        QCOMPARE(testsupport::messageTexts(), QStringList{dropped});
        // The logoff follows the call the server still runs.
        QVERIFY(ora::WaitForClientCalls(5000));
        QCOMPARE(f.db->statements.size(), 2); // the login's probe and the search given up
        QCOMPARE(f.db->closes.load(), 1);
    }

    // The server ended the session, then the answer was lost with the connection: the user
    // hears that the outcome is unknown, never that the kill failed, and when the list will
    // be read.
    void aKillWhoseAnswerIsLostHasAnUnknownOutcome() {
        KestromFixture f;
        const QString me = KestromFixture::thisComputer();
        f.db->sessions.push_back(fakeoracle::makeSession(7, 70, me));
        f.openConnected();
        f.db->loseKillAnswer = true;
        f.click("cmdSessionCt");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral(
                     "以下の理由により、ｾｯｼｮﾝが切断されたかどうか不明です。\r\n"
                     "DBとの接続が切れたため、一覧は次の接続の後に読み込みます。\r\n\r\n"
                     "「ORA-03113: end-of-file on communication channel」")});
        QCOMPARE(f.panel(1), QStringLiteral("- DB接続断 -"));
        QCOMPARE(f.db->statements.size(), 2); // no refresh on the lost connection
        QVERIFY(f.db->sessions.empty());
    }
};

QTEST_MAIN(TestConnection)
#include "test_connection.moc"
