#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "kestromfixture.h"
#include "oracle/sessionquery.h"
#include "standin_fixture.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <tuple>

using testsupport::KestromFixture;

// The main window over the real client-library binding and the stand-in client
// library: what reaches the "server" is read from the stand-in's own statement log.
class TestRealClient : public QObject {
    Q_OBJECT

    testsupport::StandinFixture mStandin;

    static QString instance(const QString& extra = QString()) {
        const QString me = KestromFixture::thisComputer();
        return QStringLiteral(
                   "connect\tORCL\n"
                   "user\tsystem\tpelmora\tread,alter\n"
                   "user\tviewer\tviewer\tread\n"
                   "user\tguest\tguest\t-\n"
                   "session\t23\t4711\tINACTIVE\t%1\tdba\tSYSTEM\tsqlplus\t2026-12-07 09:05:07\n"
                   "session\t52\t3301\tACTIVE\tFARPC\tsuzuki\tKAIKEI\t会計.exe\t2026-12-07 "
                   "08:31:12\n")
                   .arg(me) +
               extra;
    }
    // A window that talks to the binding; each test scripts its own logins.
    struct Window : KestromFixture {
        Window() { fakeoracle::reset(); } // the real client, not the in-process database
    };
    QStringList kills() const {
        return mStandin.log().split(QChar(u'\n')).filter(QStringLiteral("EXEC ALTER SYSTEM"));
    }
    static SessionGrid* gridOf(Window& w) {
        return w.window->findChild<SessionGrid*>(QStringLiteral("MSFlexGrid1"));
    }
    // Double-clicks a data row (0-based) and returns the details window that opened.
    static QDialog* openDetails(Window& w, int row) {
        SessionGrid* g = gridOf(w);
        const QPoint at = g->visualRect(g->model()->index(row, 1)).center();
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmDetails") && top->isVisible()) {
                if (!QTest::qWaitForWindowActive(top))
                    qWarning("the details window did not become active");
                return qobject_cast<QDialog*>(top);
            }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase() {
        testsupport::initWindowTests();
        // Loads the client library, so that the stand-in can be pointed at an instance.
        try {
            ora::CreateSession();
        } catch (const ora::OraError& e) {
            QFAIL(qPrintable(e.description()));
        }
    }
    void init() {
        classic::MsgBoxHook::clear();
        QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom")).clear();
        mStandin.load(instance());
    }

    void listsThisComputerAndAnswersNoSendsNothing() {
        Window w;
        w.open({KestromFixture::login()});
        QCOMPARE(w.grid()->Rows(), 2);
        QCOMPARE(w.grid()->TextMatrix(1, colLogonTime), QStringLiteral("2026/12/07 9:05:07"));
        w.search(QStringLiteral("farpc"));
        QCOMPARE(w.grid()->TextMatrix(1, colProgram), QStringLiteral("会計.exe"));
        classic::MsgBoxHook::setNextAnswers({classic::vbNo});
        w.click("cmdSessionCt");
        QCOMPARE(classic::MsgBoxHook::log().size(), 1);
        QVERIFY(kills().isEmpty());
        // An empty result: the command sends nothing either.
        w.search(QStringLiteral("nobody"));
        w.click("cmdSessionCt");
        QVERIFY(kills().isEmpty());
    }

    void killFailuresCarryOraclesText() {
        Window w;
        w.open({KestromFixture::login(QStringLiteral("viewer"), QStringLiteral("viewer"))});
        w.click("cmdSessionCt");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("以下の理由により切断できませんでした。\r\n\r\n"
                                            "「ORA-01031: insufficient privileges」")});
        QCOMPARE(w.grid()->Rows(), 2);

        // A session that has gone meanwhile.
        classic::MsgBoxHook::clear();
        w.choose("Cutting");
        w.setScript({KestromFixture::login()});
        w.choose("Link");
        mStandin.load(
            instance().replace(QStringLiteral("session\t23"), QStringLiteral("session\t24")));
        w.click("cmdSessionCt");
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("以下の理由により切断できませんでした。\r\n\r\n"
                                            "「ORA-00030: User session ID does not exist.」")});
        QCOMPARE(w.grid()->Rows(), 2);
    }

    void sessionMarkedForKillIsReportedAsKilled() {
        mStandin.load(instance(QStringLiteral("fault\tkill-marks-only\n")));
        Window w;
        w.open({KestromFixture::login()});
        const unsigned long long before = mStandin.roundTrips();
        w.click("cmdSessionCt");
        // The kill and the refreshed list, one round trip each.
        QCOMPARE(mStandin.roundTrips() - before, 2ull);
        QCOMPARE(kills(), QStringList{QStringLiteral("EXEC ALTER SYSTEM KILL SESSION '23,4711'")});
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
        QCOMPARE(w.grid()->Rows(), 1);
        // The success box came first; then the status bar says what is left to do.
        auto* notice = w.window->findChild<QLabel*>(QStringLiteral("sbStatusBar_Notice"));
        QVERIFY(notice && notice->isVisible());
        QCOMPARE(notice->text(), QStringLiteral("ｾｯｼｮﾝ 23,4711 は切断待ち。"
                                                "即時切断で直ちに終了します。"));
        w.click("cmdSearch");
        QVERIFY(notice->isHidden());
    }

    void administrativeLoginsAndExternalCredentials() {
        mStandin.load(
            instance(QStringLiteral("local\n"
                                    "user\tsys\tchange_on_install\tsysdba,sysoper\n"
                                    "user\tops$dba\tunused\tread,alter,external,sysdba\n")));
        Window w;
        // Plain SYS is refused by the server; the privilege is named in the user ID as in
        // SQL*Plus, in any case and spacing.
        w.open({KestromFixture::login(QStringLiteral("sys"), QStringLiteral("change_on_install")),
                KestromFixture::login(QStringLiteral(" SYS  As  SysDba "),
                                      QStringLiteral("change_on_install"))});
        QCOMPARE(classic::MsgBoxHook::log().size(), 1);
        QCOMPARE(classic::MsgBoxHook::log()[0].text, QStringLiteral("接続に失敗しました。"));
        QCOMPARE(classic::MsgBoxHook::log()[0].detail,
                 QStringLiteral("ORA-28009: connection as SYS should be as SYSDBA or SYSOPER"));
        QVERIFY(w.showsConnected());
        QCOMPARE(w.panel(2), QStringLiteral(" SYS  As  SysDba  / ORCL"));
        QCOMPARE(w.grid()->Rows(), 2);

        // "/" takes the operating system's credentials: no password, no host string needed;
        // with a host string it names a wallet's entry. A role the account lacks is refused.
        for (const auto& [id, pass, host] :
             {std::tuple{"/", "", ""}, std::tuple{"/ as sysdba", "pelmora", "ORCL"},
              std::tuple{"/ as sysoper", "", "ORCL"}}) {
            classic::MsgBoxHook::clear();
            w.choose("Cutting");
            w.setScript({KestromFixture::login(QString::fromUtf8(id), QString::fromUtf8(pass),
                                               QString::fromUtf8(host)),
                         KestromFixture::cancel()});
            w.choose("Link");
        }
        QCOMPARE(classic::MsgBoxHook::log().size(), 1);
        QCOMPARE(classic::MsgBoxHook::log()[0].detail,
                 QStringLiteral("ORA-01031: insufficient privileges"));
        QCOMPARE(mStandin.log().split(u'\n').filter(QStringLiteral("LOGON ")),
                 (QStringList{QStringLiteral("LOGON sys@ORCL"),
                              QStringLiteral("LOGON SYS@ORCL AS SYSDBA"),
                              QStringLiteral("LOGON /@"), QStringLiteral("LOGON /@ORCL AS SYSDBA"),
                              QStringLiteral("LOGON /@ORCL AS SYSOPER")}));
        // The password went to no log and no setting; the host string logged in with is kept
        // for the login box to offer, an empty one is not.
        QVERIFY(!mStandin.log().contains(QStringLiteral("change_on_install")));
        QSettings settings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
        settings.sync();
        QCOMPARE(settings.value(QStringLiteral("login/recentHostStrings")).toStringList(),
                 QStringList{QStringLiteral("ORCL")});
        QFile stored(settings.fileName());
        if (stored.open(QIODevice::ReadOnly))
            QVERIFY(!stored.readAll().contains("change_on_install"));
        w.window->close();
        // Every session begun was ended.
        QCOMPARE(mStandin.log().count(QStringLiteral("LOGOFF")), 3);
    }

    void blockersListAndTheWayToTheRoot() {
        // A waits for B, B for C, each on its own machine.
        mStandin.load(instance(QStringLiteral(
            "session\t40\t401\tACTIVE\tPC-A\ta\tA\ta.exe\t2026-12-07 10:00:00\t"
            "blocking_session=41\tblocking_instance=1\n"
            "session\t41\t411\tACTIVE\tPC-B\tb\tB\tb.exe\t2026-12-07 10:00:00\t"
            "blocking_session=42\tblocking_instance=1\n"
            "session\t42\t421\tINACTIVE\tPC-C\tc\tC\tc.exe\t2026-12-07 10:00:00\n")));
        Window w;
        w.open({KestromFixture::login()});
        const QString me = KestromFixture::thisComputer();
        auto sent = [&] {
            return mStandin.log().split(u'\n').filter(QStringLiteral("EXEC ")).last();
        };
        auto exec = [](QString statement) -> QString {
            return QStringLiteral("EXEC ") +
                   statement.replace(QStringLiteral("\r"), QStringLiteral("\\r"));
        };
        auto sids = [&] {
            QStringList column;
            for (int r = 1; r < w.grid()->Rows(); ++r)
                column << w.grid()->TextMatrix(r, colSid);
            return column;
        };
        unsigned long long before = mStandin.roundTrips();
        w.choose("Blockers");
        QCOMPARE(mStandin.roundTrips() - before, 1ull);
        QCOMPARE(sent(), exec(ora::BlockersQuery(false)));
        QCOMPARE(sids(), (QStringList{QStringLiteral("42"), QStringLiteral("41")}));
        QCOMPARE(w.machineBox()->text(), me);

        // From A's details, in the list of its machine, to the root of its chain.
        w.search(QStringLiteral("PC-A"));
        QCOMPARE(sids(), QStringList{QStringLiteral("40")});
        QPointer<QDialog> details = openDetails(w, 0);
        QVERIFY(details);
        QStringList shown;
        for (const QLabel* l : details->findChildren<QLabel*>())
            shown << l->text();
        QVERIFY2(shown.contains(QStringLiteral("最終ブロック元ｾｯｼｮﾝ")) &&
                     shown.contains(QStringLiteral("42（インスタンス 1）")) &&
                     shown.contains(QStringLiteral("41（インスタンス 1）")),
                 qPrintable(shown.join(u'|')));
        auto* toRoot = details->findChild<QPushButton*>(QStringLiteral("cmdToBlocker"));
        QVERIFY(toRoot->isEnabled());
        toRoot->click();
        QTRY_VERIFY(!details || !details->isVisible());
        QCOMPARE(sent(), exec(ora::BlockersQuery(false)));
        QCOMPARE(w.grid()->Row(), 1);
        QCOMPARE(w.grid()->TextMatrix(w.grid()->Row(), colSid), QStringLiteral("42"));
        QCOMPARE(w.window->focusWidget(), static_cast<QWidget*>(w.grid()));

        // Delete asks (another machine) and ends exactly C; the list shown again is the
        // blockers': B, now the root of what is left.
        classic::MsgBoxHook::clear();
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        QTest::keyClick(w.grid(), Qt::Key_Delete);
        QCOMPARE(classic::MsgBoxHook::log()[0].title, QStringLiteral("切断確認"));
        QCOMPARE(kills(), QStringList{QStringLiteral("EXEC ALTER SYSTEM KILL SESSION '42,421'")});
        QCOMPARE(sent(), exec(ora::BlockersQuery(false)));
        QCOMPARE(sids(), QStringList{QStringLiteral("41")});
        // F5 shows this list again; a search by machine name returns to that machine's list,
        // and F5 after it repeats that search.
        w.activate();
        QTest::keyClick(w.grid(), Qt::Key_F5);
        QCOMPARE(sent(), exec(ora::BlockersQuery(false)));
        w.click("cmdSearch");
        QCOMPARE(sent(), exec(ora::SessionQuery(QStringLiteral("PC-A"))));
        QCOMPARE(sids(), QStringList{QStringLiteral("40")});
        w.activate();
        QTest::keyClick(w.grid(), Qt::Key_F5);
        QCOMPARE(sent(), exec(ora::SessionQuery(QStringLiteral("PC-A"))));

        // Across the cluster: the instance is named and matched.
        w.choose("AllInstances");
        before = mStandin.roundTrips();
        w.choose("Blockers");
        QCOMPARE(mStandin.roundTrips() - before, 1ull);
        QCOMPARE(sent(), exec(ora::BlockersQuery(true)));
        QCOMPARE(sids(), QStringList{QStringLiteral("41")});
        QCOMPARE(w.grid()->TextMatrix(1, colInstance), QStringLiteral("1"));
    }

    void blockersOfAnotherInstanceAreNeverTakenForALocalSid() {
        // On instance 2, 60 blocks 61 there and 62 on instance 1; on instance 1 the
        // bystander 60, which blocks nothing, bears the same sid.
        mStandin.load(instance(QStringLiteral(
            "session\t60\t9\tINACTIVE\tPC-X\tx\tX\tx.exe\t2026-12-07 10:00:00\n"
            "session\t62\t621\tACTIVE\tPC-A\ta\tA\ta.exe\t2026-12-07 10:00:00\t"
            "blocking_session=60\tblocking_instance=2\n"
            "session\t60\t601\tINACTIVE\tPC-R\tr\tR\tr.exe\t2026-12-07 10:00:00\tinst_id=2\n"
            "session\t61\t611\tACTIVE\tPC-R\tr\tR\tr.exe\t2026-12-07 10:00:00\tinst_id=2\t"
            "blocking_session=60\tblocking_instance=2\n")));
        Window w;
        w.open({KestromFixture::login()});
        auto field = [](QDialog* details, const QString& caption) {
            auto* form = qobject_cast<QFormLayout*>(
                details->findChild<QWidget*>(QStringLiteral("fields"))->layout());
            for (int r = 0; form && r < form->rowCount(); ++r) {
                auto* label = form->itemAt(r, QFormLayout::LabelRole);
                auto* value = form->itemAt(r, QFormLayout::FieldRole);
                if (label && value && qobject_cast<QLabel*>(label->widget())->text() == caption)
                    return qobject_cast<QLabel*>(value->widget())->text();
            }
            return QString();
        };
        const QString blocks = QStringLiteral("ブロック中のｾｯｼｮﾝ数");

        // This instance's list: nothing here blocks a session of this instance.
        w.choose("Blockers");
        QCOMPARE(w.grid()->Rows(), 1);
        w.search(QStringLiteral("PC-X"));
        QPointer<QDialog> details = openDetails(w, 0);
        QVERIFY(details);
        QCOMPARE(field(details, blocks), QStringLiteral("0"));

        // From the waiting session's details the root is on instance 2, which this list does
        // not show: said so, no round trip, the details and the current row stay.
        w.search(QStringLiteral("PC-A"));
        details = openDetails(w, 0);
        QVERIFY(details);
        classic::MsgBoxHook::clear();
        const unsigned long long before = mStandin.roundTrips();
        details->findChild<QPushButton*>(QStringLiteral("cmdToBlocker"))->click();
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral(
                     "ﾌﾞﾛｯｸ元のｾｯｼｮﾝ 60（インスタンス 2）は接続先とは別のｲﾝｽﾀﾝｽにあるため、"
                     "この一覧には表示できません。\r\n"
                     "全ｲﾝｽﾀﾝｽを選んでから、もう一度お試しください。")});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 64);
        QCOMPARE(mStandin.roundTrips(), before);
        QVERIFY(details && details->isVisible());
        QCOMPARE(w.grid()->Rows(), 2);
        QCOMPARE(w.grid()->TextMatrix(w.grid()->Row(), colSid), QStringLiteral("62"));

        // Across the cluster the root is matched by sid and instance, and counts both.
        w.choose("AllInstances");
        classic::MsgBoxHook::clear();
        details->findChild<QPushButton*>(QStringLiteral("cmdToBlocker"))->click();
        QTRY_VERIFY(!details || !details->isVisible());
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QCOMPARE(w.grid()->Rows(), 2);
        QCOMPARE(w.grid()->TextMatrix(w.grid()->Row(), colSid) + u'@' +
                     w.grid()->TextMatrix(w.grid()->Row(), colInstance),
                 QStringLiteral("60@2"));
        details = openDetails(w, 0);
        QVERIFY(details);
        QCOMPARE(field(details, blocks), QStringLiteral("2"));
    }

    void cancelSqlAsksForAnotherMachineAndKeepsTheSession() {
        mStandin.load(instance(
            QStringLiteral("fault\tcancel-idle\t20001\tORA-20001: no call in progress\n")));
        Window w;
        w.open({KestromFixture::login()});
        w.search(QStringLiteral("FARPC"));
        QPointer<QDialog> details = openDetails(w, 0);
        QVERIFY(details);
        auto* cancel = details->findChild<QPushButton*>(QStringLiteral("cmdCancelSql"));
        QCOMPARE(cancel->text(), QStringLiteral("SQL中止(&Q)"));
        // No: nothing is sent.
        classic::MsgBoxHook::setNextAnswers({classic::vbNo});
        cancel->click();
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{
                     QStringLiteral("他人のセッションで実行中のSQL文を中止しようとしています。\r\n"
                                    "セッションは切断されません。処理を続けてもよろしいですか？")});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 52);
        QVERIFY(kills().isEmpty());
        // Yes: the statement, in one round trip, then the list again (two).
        classic::MsgBoxHook::clear();
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        const unsigned long long before = mStandin.roundTrips();
        cancel->click();
        QCOMPARE(kills(), QStringList{QStringLiteral("EXEC ALTER SYSTEM CANCEL SQL '52, 3301'")});
        QCOMPARE(mStandin.roundTrips() - before, 2ull);
        QCOMPARE(testsupport::messageTexts()[1], QStringLiteral("SQL文を中止しました。"));
        // The session stays, its call ended.
        QCOMPARE(w.grid()->Rows(), 2);
        QCOMPARE(w.grid()->TextMatrix(1, colStatus), QStringLiteral("INACTIVE"));
        // Now idle: the server's answer is shown as it came, and the list is left as it is.
        classic::MsgBoxHook::clear();
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        QVERIFY(details);
        cancel->click();
        QCOMPARE(testsupport::messageTexts()[1],
                 QStringLiteral("以下の理由によりSQL文を中止できませんでした。\r\n\r\n"
                                "「ORA-20001: no call in progress」"));
    }

    void loginFailuresLeadBackToTheDialog() {
        Window w;
        w.open({KestromFixture::login(QStringLiteral("system"), QStringLiteral("wrong")),
                KestromFixture::login(QStringLiteral("guest"), QStringLiteral("guest")),
                KestromFixture::cancel()});
        QCOMPARE(testsupport::messageTexts(),
                 (QStringList{
                     QStringLiteral("接続に失敗しました。"),
                     QStringLiteral("このﾕｰｻﾞでは、ｾｯｼｮﾝを操作するための権限がありません。"
                                    "\r\nORACLEで設定されているSystem権限を確認してください。")}));
        QCOMPARE(w.prompts.size(), 3);
        QVERIFY(!w.showsConnected());
        // The guest's connection was closed again, in the background.
        QVERIFY(ora::WaitForClientCalls(5000));
        QCOMPARE(mStandin.log().count(QStringLiteral("LOGOFF")), 1);
    }

    void clusterListDetailsAndImmediateKill() {
        const QString me = KestromFixture::thisComputer();
        mStandin.load(instance(
            QStringLiteral("user\tlocal\tlocal\tread,alter,nogv\n"
                           "session\t23\t9001\tACTIVE\t%1\tdba\tSYSTEM\tsqlplus\t2026-12-07 "
                           "10:00:00\tinst_id=2\tsql_id=7h35uxf5uhmm1\tlast_call_et=75\tstubborn\n"
                           "session\t40\t2\tACTIVE\tFARPC\tx\tX\tx.exe\t2026-12-07 10:00:00\t"
                           "inst_id=2\tblocking_session=23\tblocking_instance=2\n"
                           "sql\t7h35uxf5uhmm1\t2\tUPDATE t SET a = 1\n")
                .arg(me)));
        Window w;
        w.open({KestromFixture::login()});
        auto* all = w.window->findChild<QAction*>(QStringLiteral("AllInstances"));
        QVERIFY(!all->isChecked());
        w.choose("AllInstances");
        w.search(me);
        SessionGrid* g = w.grid();
        QCOMPARE(g->Cols(), kClusterListColumns);
        QCOMPARE(g->TextMatrix(0, colInstance), QStringLiteral("ｲﾝｽﾀﾝｽ"));
        QCOMPARE(g->Rows(), 3); // sid 23 on instance 1 and on instance 2
        QCOMPARE(g->TextMatrix(2, colSerial) + u'@' + g->TextMatrix(2, colInstance),
                 QStringLiteral("9001@2"));

        // Details of the session on instance 2: one round trip, the statement from its pool,
        // the session it blocks counted.
        const unsigned long long before = mStandin.roundTrips();
        w.doubleClickRow(2);
        QCOMPARE(mStandin.roundTrips() - before, 1ull);
        QPointer<frmDetails> details = frmDetails::instance();
        QVERIFY(details && details->isVisible());
        QCOMPARE(details->findChild<QPlainTextEdit*>()->toPlainText(),
                 QStringLiteral("UPDATE t SET a = 1"));
        QStringList shown;
        for (const QLabel* l : details->findChildren<QLabel*>())
            shown << l->text();
        QVERIFY2(shown.contains(QStringLiteral("ACTIVE（実行中 0:01:15）")),
                 qPrintable(shown.join(u'|')));
        QVERIFY(shown.contains(QStringLiteral("1"))); // blocks session 40

        // The immediate kill from the details window asks, then names the instance.
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        details->findChild<QPushButton*>(QStringLiteral("cmdKillImmediate"))->click();
        QCOMPARE(kills(), QStringList{QStringLiteral(
                              "EXEC ALTER SYSTEM KILL SESSION '23,9001,@2' IMMEDIATE")});
        QTRY_VERIFY(!details);
        QCOMPARE(g->Rows(), 2);

        // A session gone meanwhile gets a message, not an empty window.
        classic::MsgBoxHook::clear();
        mStandin.load(instance(QStringLiteral("user\tlocal\tlocal\tread,alter,nogv\n"))
                          .replace(QStringLiteral("session\t23"), QStringLiteral("session\t24")));
        w.doubleClickRow(1);
        QCOMPARE(testsupport::messageTexts().size(), 1);
        QVERIFY(testsupport::messageTexts()[0].contains(QStringLiteral("すでに存在しません")));
        QVERIFY(!frmDetails::instance());

        // A user who may not read gv$session is told Oracle's reason once.
        w.choose("Cutting");
        classic::MsgBoxHook::clear();
        w.setScript({KestromFixture::login(QStringLiteral("local"), QStringLiteral("local"))});
        w.choose("Link");
        // Logged in with the single-instance list rather than refused for lack of privilege.
        QVERIFY(w.showsConnected());
        QCOMPARE(g->Cols(), 9);
        QCOMPARE(testsupport::messageTexts().size(), 1);
        QVERIFY(testsupport::messageTexts()[0].contains(QStringLiteral("ORA-00942")));
        classic::MsgBoxHook::clear();
        QVERIFY(!all->isChecked());

        // Off for this connection: the classic statement, nine columns, no message.
        w.search(me);
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        QCOMPARE(g->Cols(), 9);
        const QStringList queries =
            mStandin.log().split(u'\n').filter(QStringLiteral("EXEC SELECT sid"));
        QCOMPARE(queries.last(), QStringLiteral("EXEC ") +
                                     ora::SessionQuery(me.toUpper())
                                         .replace(QStringLiteral("\r"), QStringLiteral("\\r")));
    }

    void detailsGoWithTheirSessionKilledFromEitherList() {
        const QString me = KestromFixture::thisComputer();
        mStandin.load(instance(
            QStringLiteral("session\t24\t5\tINACTIVE\t%1\tdba\tSYSTEM\tsqlplus\t2026-12-07 "
                           "09:05:07\n")
                .arg(me)));
        Window w;
        w.open({KestromFixture::login()});
        SessionGrid* g = gridOf(w);
        // Read from the single-instance list, killed from the cluster-wide one, and back.
        for (const auto& [sid, kill] :
             {std::pair{QStringLiteral("23"), QStringLiteral("'23,4711,@1'")},
              std::pair{QStringLiteral("24"), QStringLiteral("'24,5'")}}) {
            QPointer<QDialog> details = openDetails(w, 0);
            QVERIFY(details);
            w.choose("AllInstances");
            w.search(me);
            QCOMPARE(g->TextMatrix(1, colSid), sid);
            w.clickRow(1);
            QTest::keyClick(g, Qt::Key_Delete);
            QCOMPARE(kills().last(), QStringLiteral("EXEC ALTER SYSTEM KILL SESSION ") + kill);
            QTRY_VERIFY(!details || !details->isVisible());
        }
    }

    void lostConnectionThenRecoveryAndClose() {
        // Logon and the probe's one round trip pass; everything after fails.
        mStandin.load(instance(QStringLiteral("fault\tlose-connection\t1\n")));
        Window w;
        w.open({KestromFixture::login()});
        QVERIFY(w.showsConnected());
        w.click("cmdSessionCt");
        QVERIFY2(testsupport::messageTexts().value(0).contains(QStringLiteral("ORA-03113")),
                 qPrintable(testsupport::messageTexts().value(0)));
        classic::MsgBoxHook::clear();
        w.search(QString());
        QVERIFY2(testsupport::messageTexts().value(0).contains(QStringLiteral("ORA-03114")),
                 qPrintable(testsupport::messageTexts().value(0)));
        QCOMPARE(w.grid()->Rows(), 1);
        // Disconnecting a dead connection is quiet; a new connection works again.
        classic::MsgBoxHook::clear();
        w.choose("Cutting");
        QVERIFY(!w.showsConnected());
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        mStandin.load(instance());
        w.setScript({KestromFixture::login()});
        w.choose("Link");
        // The box is still empty from the last search: the probe lists every session.
        QCOMPARE(w.grid()->Rows(), 3);
        w.window->close();
        QCOMPARE(mStandin.log().count(QStringLiteral("LOGOFF")), 1);
    }

    void detailsWindowClosesWithEnterAndAsksBeforeItsKill() {
        Window w;
        w.open({KestromFixture::login()});
        QTRY_VERIFY(gridOf(w)->currentIndex().isValid());
        // Enter and Esc close the window; nothing is sent.
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QPointer<QDialog> details = openDetails(w, 0);
            QVERIFY(details);
            QTest::keyClick(details, key);
            QTRY_VERIFY(!details || !details->isVisible());
            QVERIFY(kills().isEmpty());
        }
        QVERIFY(classic::MsgBoxHook::log().isEmpty());

        // 即時切断 of this computer's session, by its access key: ended without a question.
        QPointer<QDialog> details = openDetails(w, 0);
        QVERIFY(details);
        classic::MsgBoxHook::setNextAnswers({classic::vbOK});
        QTest::keyClick(details, Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(kills(), QStringList{QStringLiteral(
                                  "EXEC ALTER SYSTEM KILL SESSION '23,4711' IMMEDIATE")});
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
        QTRY_VERIFY(!details || !details->isVisible());

        // Another machine's session is asked about first; No leaves the window open.
        w.search(QStringLiteral("FARPC"));
        classic::MsgBoxHook::clear();
        details = openDetails(w, 0);
        QVERIFY(details);
        classic::MsgBoxHook::setNextAnswers({classic::vbNo});
        details->findChild<QPushButton*>(QStringLiteral("cmdKillImmediate"))->click();
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("他人のセッションを即時切断しようとしています。\r\n"
                                            "処理を続けてもよろしいですか？")});
        QCOMPARE(classic::MsgBoxHook::log()[0].title, QStringLiteral("切断確認"));
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 52);
        QCOMPARE(kills().size(), 1);
        QVERIFY(details && details->isVisible());
        // Yes: the session ends, once.
        classic::MsgBoxHook::clear();
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        details->findChild<QPushButton*>(QStringLiteral("cmdKillImmediate"))->click();
        QTRY_COMPARE(kills().last(),
                     QStringLiteral("EXEC ALTER SYSTEM KILL SESSION '52,3301' IMMEDIATE"));
        QCOMPARE(kills().size(), 2);
        QCOMPARE(testsupport::messageTexts().size(), 2);
        QCOMPARE(testsupport::messageTexts()[1], QStringLiteral("セッションを切断しました。"));
        QTRY_VERIFY(!details || !details->isVisible());
    }

    void detailsWeighTheTransactionTheRowAndTheOperation() {
        // A session holding a transaction, waiting on a row of APP.ORDERS and scanning a table:
        // of its operations one is done and one started later than the scan.
        mStandin.load(instance(QStringLiteral(
            "user\tnarrow\tnarrow\tread,alter,nocatalog\n"
            "session\t61\t801\tACTIVE\tFARPC\ttanaka\tAPP\t受付.exe\t2026-12-07 08:00:00"
            "\ttaddr=00000000A1B2C3D4\tevent=enq: TX - row lock contention\tseconds_in_wait=30"
            "\tblocking_session=52\trow_wait_obj#=73021\trow_wait_file#=4"
            "\trow_wait_block#=1234\trow_wait_row#=5\n"
            "transaction\t00000000A1B2C3D4\t1\t12/07/26 07:59:58\t5000\t120000\n"
            "object\t73021\tAPP\tORDERS\n"
            "longop\t1\t61\t801\tSort Output\t10\t10\t0\t2026-12-07 07:00:00\n"
            "longop\t1\t61\t801\tTable Scan\t400\t1000\t90\t2026-12-07 08:00:05\n"
            "longop\t1\t61\t801\tIndex Build\t1\t100\t500\t2026-12-07 08:30:00\n")));
        auto fieldsOf = [](QDialog* details) {
            QStringList shown;
            auto* form = qobject_cast<QFormLayout*>(
                details->findChild<QWidget*>(QStringLiteral("fields"))->layout());
            for (int row = 0; row < form->rowCount(); ++row) {
                auto* caption =
                    qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
                auto* value =
                    qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::FieldRole)->widget());
                shown << caption->text() + QLatin1Char('=') + value->text();
            }
            return shown;
        };
        const QString transaction =
            QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝ=12/07/26 07:59:58 開始、UNDO 5000 ブロック／120000 レコード\n"
                           "切断するとロールバックされ、UNDOの量に比例して時間がかかります。");
        const QString row =
            QStringLiteral("待機中の行=APP.ORDERS（ファイル 4、ブロック 1234、行 5）");
        for (const QString& user : {QStringLiteral("system"), QStringLiteral("narrow")}) {
            Window w;
            w.open({KestromFixture::login(
                user, user == QStringLiteral("system") ? QStringLiteral("pelmora") : user)});
            w.search(QStringLiteral("FARPC"));
            QTRY_COMPARE(gridOf(w)->model()->rowCount(), 2); // 52, 61
            const unsigned long long before = mStandin.roundTrips();
            QPointer<QDialog> details = openDetails(w, 1);
            QVERIFY(details);
            const QStringList shown = fieldsOf(details);
            auto* bar = w.find<PanelStatusBar>("sbStatusBar");
            QVERIFY2(shown.contains(row), qPrintable(shown.join(u'|')));
            if (user == QStringLiteral("system")) {
                // All three, in the one round trip.
                QCOMPARE(mStandin.roundTrips() - before, 1ULL);
                QVERIFY2(shown.contains(transaction), qPrintable(shown.join(u'|')));
                QVERIFY(
                    shown.contains(QStringLiteral("長時間操作=Table Scan（40%、残り 0:01:30）")));
                QVERIFY(!bar->noticeText().contains(QStringLiteral("SELECT_CATALOG_ROLE")));
            } else {
                // Refused the transaction's view: the rest still shows, those two say "－",
                // and the status bar names what would show them.
                QCOMPARE(mStandin.roundTrips() - before, 2ULL);
                QVERIFY(shown.contains(QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝ=－")));
                QVERIFY(shown.contains(QStringLiteral("長時間操作=－")));
                QVERIFY(shown.contains(QStringLiteral("マシン名=－")));
                QVERIFY(bar->noticeText().contains(QStringLiteral("SELECT_CATALOG_ROLE")));
            }
            QVERIFY(testsupport::messageTexts().isEmpty());
            // The kill's confirmation keeps its text.
            classic::MsgBoxHook::setNextAnswers({classic::vbNo});
            details->findChild<QPushButton*>(QStringLiteral("cmdKillImmediate"))->click();
            QCOMPARE(testsupport::messageTexts(),
                     QStringList{QStringLiteral("他人のセッションを即時切断しようとしています。\r\n"
                                                "処理を続けてもよろしいですか？")});
            classic::MsgBoxHook::clear();
            QVERIFY(kills().isEmpty());
        }
    }

    void detailsWindowGoesWithItsConnection() {
        Window w;
        w.open({KestromFixture::login()});
        QTRY_VERIFY(gridOf(w)->currentIndex().isValid());
        QPointer<QDialog> details = openDetails(w, 0);
        QVERIFY(details);
        // 接続 → ＤＢ切断: the window goes, so that it cannot act on the next connection.
        w.choose("Cutting");
        QTRY_VERIFY(!details || !details->isVisible());
        w.setScript({KestromFixture::login(QStringLiteral("viewer"), QStringLiteral("viewer"))});
        w.choose("Link");
        QTRY_VERIFY(gridOf(w)->currentIndex().isValid());
        // Ending the program takes it too.
        details = openDetails(w, 0);
        QVERIFY(details);
        w.choose("EN");
        QTRY_VERIFY(!details || !details->isVisible());
        QVERIFY(kills().isEmpty());
    }

    void refusedClusterListFallsBackForThisConnectionOnly() {
        mStandin.load(instance(QStringLiteral("user\tlocal\tlocal\tread,alter,nogv\n")));
        Window w;
        w.open({KestromFixture::cancel()});
        auto* all = w.window->findChild<QAction*>(QStringLiteral("AllInstances"));
        if (!all->isChecked())
            w.choose("AllInstances");
        w.setScript({KestromFixture::login(QStringLiteral("local"), QStringLiteral("local"))});
        w.choose("Link");
        // Told once why, the item switched off, and listed from v$session at once.
        QCOMPARE(testsupport::messageTexts().size(), 1);
        QVERIFY2(testsupport::messageTexts()[0].contains(QStringLiteral("ORA-00942")),
                 qPrintable(testsupport::messageTexts()[0]));
        QVERIFY(!all->isChecked());
        SessionGrid* g = gridOf(w);
        QCOMPARE(g->model()->columnCount(), 8);
        QCOMPARE(g->model()->rowCount(), 1);
        const int refusals = mStandin.log().count(QStringLiteral("gv$session"));

        // A search and a kill with its refresh: no failure, no cluster-wide statement.
        classic::MsgBoxHook::clear();
        auto* box = w.window->findChild<QLineEdit*>(QStringLiteral("txtPcName"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_VERIFY(g->currentIndex().isValid());
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(kills(), QStringList{QStringLiteral("EXEC ALTER SYSTEM KILL SESSION '23,4711'")});
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
        QCOMPARE(g->model()->rowCount(), 0);
        QCOMPARE(mStandin.log().count(QStringLiteral("gv$session")), refusals);

        // The stored setting is kept: the next connection lists the cluster again.
        w.choose("Cutting");
        w.setScript({KestromFixture::login()});
        w.choose("Link");
        QVERIFY(all->isChecked());
        QCOMPARE(g->model()->columnCount(), 9);
    }

    void connectionLostDuringTheLoginSearchIsAFailedConnection() {
        // Lost at the execute, and at a fetch part way through the list.
        const QString me = KestromFixture::thisComputer();
        for (const QString& fault :
             {QStringLiteral("fault\tlose-connection\t0\n"),
              QStringLiteral("generate\t3000\t%1\nfault\tlose-connection\t1\n").arg(me)}) {
            mStandin.load(instance(fault));
            classic::MsgBoxHook::clear();
            Window w;
            w.open({KestromFixture::login(), KestromFixture::cancel()});
            QCOMPARE(testsupport::messageTexts(),
                     QStringList{QStringLiteral("接続に失敗しました。")});
            QVERIFY2(classic::MsgBoxHook::log()[0].detail.startsWith(QStringLiteral("ORA-03113")),
                     qPrintable(classic::MsgBoxHook::log()[0].detail));
            QCOMPARE(classic::MsgBoxHook::log()[0].style, 48);
            QCOMPARE(w.prompts.size(), 2);
            QCOMPARE(w.window->findChild<QLabel*>(QStringLiteral("sbStatusBar_Panel1"))->text(),
                     QStringLiteral("- DB未接続 -"));
            QCOMPARE(gridOf(w)->model()->rowCount(), 0);
        }
    }

    void detailsSayWhenTheStatementIsCutAndGoWithTheirKilledSession() {
        const QString me = KestromFixture::thisComputer();
        // A statement of 1100 bytes, of which the shared pool's text holds the first 1000.
        QString statement = QStringLiteral("SELECT ");
        for (int i = 0; statement.size() < 1100; ++i)
            statement += QStringLiteral("column_%1, ").arg(i, 4, 10, QChar(u'0'));
        const QString pooled = statement.left(1000);
        mStandin.load(instance(QStringLiteral("session\t30\t7\tACTIVE\t%1\tdba\tSCOTT\tjava\t"
                                              "2026-12-07 10:00:00\tsql_id=0long0000000\n"
                                              "session\t31\t8\tACTIVE\t%1\tdba\tSCOTT\tjava\t"
                                              "2026-12-07 10:00:00\tsql_id=0short000000\n"
                                              "sql\t0long0000000\t1\t%2\n"
                                              "sql\t0short000000\t1\tSELECT 1 FROM dual\n")
                                   .arg(me, pooled)));
        Window w;
        w.open({KestromFixture::login()});
        QTRY_COMPARE(gridOf(w)->model()->rowCount(), 3); // 23, 30, 31
        QPointer<QDialog> details = openDetails(w, 1);
        QVERIFY(details);
        QCOMPARE(details->findChild<QPlainTextEdit*>()->toPlainText(), pooled);
        auto* cut = details->findChild<QLabel*>(QStringLiteral("lblSqlCut"));
        QVERIFY(cut && cut->isVisible());
        QCOMPARE(cut->text(),
                 QStringLiteral("SQL文は先頭1000ﾊﾞｲﾄまでしか読めないため、途中で切れています。"));
        details = openDetails(w, 2);
        QCOMPARE(details->findChild<QPlainTextEdit*>()->toPlainText(),
                 QStringLiteral("SELECT 1 FROM dual"));
        QVERIFY(!details->findChild<QLabel*>(QStringLiteral("lblSqlCut"))->isVisible());

        // Ended from the grid while its details are open: the window, which would still show
        // it ACTIVE, goes with the refreshed list.
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        SessionGrid* g = gridOf(w);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(kills(), QStringList{QStringLiteral("EXEC ALTER SYSTEM KILL SESSION '31,8'")});
        QCOMPARE(g->model()->rowCount(), 2);
        QTRY_VERIFY(!details || !details->isVisible());
    }

    void lostConnectionShowsInTheStatusBarAndClosesTheDetails() {
        // The login's list and the details pass; the next round trip finds the line dead.
        mStandin.load(instance(QStringLiteral("fault\tlose-connection\t2\n")));
        Window w;
        w.open({KestromFixture::login()});
        auto* state = w.window->findChild<QLabel*>(QStringLiteral("sbStatusBar_Panel1"));
        QCOMPARE(state->text(), QStringLiteral("- DB接続中 -"));
        QTRY_VERIFY(gridOf(w)->currentIndex().isValid());
        QPointer<QDialog> details = openDetails(w, 0);
        QVERIFY(details);
        auto* box = w.window->findChild<QLineEdit*>(QStringLiteral("txtPcName"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY2(testsupport::messageTexts().value(0).contains(QStringLiteral("ORA-03113")),
                 qPrintable(testsupport::messageTexts().join(u'|')));
        QCOMPARE(state->text(), QStringLiteral("- DB接続断 -"));
        QTRY_VERIFY(!details || !details->isVisible());
        // ＤＢ切断 and a new login show the ordinary states again.
        w.choose("Cutting");
        QCOMPARE(state->text(), QStringLiteral("- DB未接続 -"));
        mStandin.load(instance());
        w.setScript({KestromFixture::login()});
        w.choose("Link");
        QCOMPARE(state->text(), QStringLiteral("- DB接続中 -"));
    }

    // ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断: asked like a kill for another machine's session, reported like one,
    // a session with an open transaction left listed with a note; never for another instance.
    void disconnectAfterTheTransaction() {
        const QString me = KestromFixture::thisComputer();
        mStandin.load(instance(
            QStringLiteral("session\t60\t1\tACTIVE\tFARPC\tsato\tAPP\tx.exe\t2026-12-07 "
                           "10:00:00\topen-transaction\n"
                           "session\t24\t2\tINACTIVE\t%1\tdba\tSYSTEM\tsqlplus\t2026-12-07 "
                           "10:00:00\tinst_id=2\n")
                .arg(me)));
        Window w;
        w.open({KestromFixture::login()});
        w.search(QStringLiteral("farpc"));
        QCOMPARE(w.grid()->Rows(), 3);
        const QString question =
            QStringLiteral("他人のセッションをﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断しようとしています。\r\n"
                           "処理を続けてもよろしいですか？");
        classic::MsgBoxHook::setNextAnswers({classic::vbNo});
        w.contextMenu(1, Qt::Key_T);
        QCOMPARE(testsupport::messageTexts(), QStringList{question});
        QCOMPARE(classic::MsgBoxHook::log()[0].title, QStringLiteral("切断確認"));
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 52);
        QVERIFY(kills().isEmpty());

        classic::MsgBoxHook::clear();
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        w.contextMenu(1, Qt::Key_T);
        QCOMPARE(kills(), QStringList{QStringLiteral(
                              "EXEC ALTER SYSTEM DISCONNECT SESSION '52,3301' POST_TRANSACTION")});
        QCOMPARE(testsupport::messageTexts(),
                 (QStringList{question, QStringLiteral("セッションを切断しました。")}));
        QCOMPARE(w.grid()->Rows(), 2);

        // An open transaction: accepted (ORA-00031), the session stays listed until it ends.
        classic::MsgBoxHook::clear();
        classic::MsgBoxHook::setNextAnswers({classic::vbYes, classic::vbOK});
        w.contextMenu(1, Qt::Key_T);
        QCOMPARE(testsupport::messageTexts().value(1),
                 QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝの終了後にセッションを切断します。"));
        QCOMPARE(w.grid()->Rows(), 2);
        QCOMPARE(w.grid()->TextMatrix(1, colStatus), QStringLiteral("KILLED"));
        QCOMPARE(
            w.find<QLabel>("sbStatusBar_Notice")->text(),
            QStringLiteral("ｾｯｼｮﾝ 60,1 はﾄﾗﾝｻﾞｸｼｮﾝの終了まで一覧に残り、その後切断されます。"));

        // A refresh on the timer keeps saying so while the session is listed.
        w.choose("AutoRefresh5");
        const qsizetype searches = mStandin.log().count(QStringLiteral("EXEC SELECT"));
        QVERIFY(QTest::qWaitFor(
            [&] { return mStandin.log().count(QStringLiteral("EXEC SELECT")) > searches; }, 8000));
        QVERIFY(w.find<QLabel>("sbStatusBar_Notice")
                    ->text()
                    .startsWith(QStringLiteral("ｾｯｼｮﾝ 60,1 はﾄﾗﾝｻﾞｸｼｮﾝの終了まで")));
        w.choose("AutoRefresh0");

        // All instances: a session of another instance than the connection's cannot be named.
        w.choose("AllInstances");
        w.search(me);
        SessionGrid* g = w.grid();
        QCOMPARE(g->TextMatrix(2, colSid) + u'@' + g->TextMatrix(2, colInstance),
                 QStringLiteral("24@2"));
        const auto item = [](QMenu& menu) {
            return menu.findChild<QAction*>(QStringLiteral("DisconnectAfterTransaction"));
        };
        bool enabled = true;
        QString tip;
        w.contextMenu(2, Qt::Key_Escape, [&](QMenu& menu) {
            enabled = item(menu) && item(menu)->isEnabled();
            tip = item(menu) ? item(menu)->toolTip() : QString();
        });
        QVERIFY(!enabled);
        QCOMPARE(tip, QStringLiteral("接続先ｲﾝｽﾀﾝｽ（1）以外のｾｯｼｮﾝは、"
                                     "ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断できません。"));
        // The details window says the same.
        QPointer<QDialog> details = openDetails(w, 1);
        QVERIFY(details);
        auto* button = details->findChild<QPushButton*>(QStringLiteral("cmdDisconnect"));
        QVERIFY(button && !button->isEnabled() && !button->toolTip().isEmpty());
        details->close();
        // This computer's session on the connection's instance: no question.
        classic::MsgBoxHook::clear();
        w.contextMenu(1, Qt::Key_T, [&](QMenu& menu) { QVERIFY(item(menu)->isEnabled()); });
        QCOMPARE(kills().last(),
                 QStringLiteral("EXEC ALTER SYSTEM DISCONNECT SESSION '23,4711' POST_TRANSACTION"));
        QCOMPARE(testsupport::messageTexts(),
                 QStringList{QStringLiteral("セッションを切断しました。")});
    }
};

QTEST_MAIN(TestRealClient)
#include "test_realclient.moc"
