// The console's round trips without a window: listing, killing and reading the details of
// sessions through the binding and the stand-in client library, made on a connection's own
// thread and broken off from another one, as the window does.
#include "oracle/callthread.h"
#include "oracle/connection.h"
#include "oracle/oci/oci_session.h"
#include "oracle/sessionops.h"
#include "standin_fixture.h"

#include <QElapsedTimer>
#include <QTest>

using ora::OraError;

namespace {

const QString kBase = QStringLiteral("connect\tDB\n"
                                     "user\tscott\ttiger\tread,alter\n"
                                     "user\tviewer\tpw\tread\n"
                                     "session\t10\t2\tACTIVE\tPC-A\tyamada\tSCOTT\tsqlplus.exe\t"
                                     "2024-03-15 09:30:45\tmodule=受付\n"
                                     "session\t11\t3\tINACTIVE\tPC-B\tsato\tAPP\tapp.exe\t"
                                     "2024-03-15 08:05:07\n"
                                     "session\t12\t4\t\\N\tPC-A\tsuzuki\tAPP\tapp.exe\t"
                                     "2024-03-15 08:00:00\n"
                                     "session\t13\t5\tACTIVE\tPC-A\tito\tAPP\tapp.exe\t"
                                     "2024-03-15 07:00:00\tinst_id=2\n");

// Runs `job` on the connection's thread and breaks it off from this one after `breakAfterMs`
// (never when negative); returns the failure the call ended with, timed.
struct Outcome {
    std::optional<OraError> failure;
    qint64 breakToEndMs = -1;
};
template <typename Job>
Outcome callAndBreak(ora::CallThread& thread, ora::OraDatabase& db, Job job, int breakAfterMs) {
    const std::shared_ptr<ora::PendingCall> call = thread.post(std::move(job));
    Outcome outcome;
    if (breakAfterMs >= 0) {
        QTest::qSleep(breakAfterMs);
        QElapsedTimer clock;
        clock.start();
        db.Break();
        if (!call->waitFor(5000))
            qFatal("the call did not end after the break");
        outcome.breakToEndMs = clock.elapsed();
    } else if (!call->waitFor(20000)) {
        qFatal("the call did not end");
    }
    try {
        call->rethrow();
    } catch (const OraError& error) {
        outcome.failure = error;
    }
    return outcome;
}

} // namespace

class TestSessionOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsShownSessionsAndCountsTheOthers() {
        mFixture.load(kBase);
        auto db = open();
        const ora::SessionList list = ora::ListSessions(*db, QStringLiteral("PC-A"), false);
        QVERIFY(!list.failure);
        QCOMPARE(list.rows.size(), size_t(1));
        QCOMPARE(list.rows[0][ora::rcSid], QStringLiteral("10"));
        QCOMPARE(list.rows[0][ora::rcProgram], QStringLiteral("sqlplus.exe"));
        QCOMPARE(list.rows[0][ora::rcLogonTime], QStringLiteral("2024/03/15 9:30:45"));
        QCOMPARE(list.skipped, 1);
        QCOMPARE(list.skipReason, QStringLiteral("Null の使い方が不正です。"));
        // The cluster-wide list names each session's instance.
        const ora::SessionList all = ora::ListSessions(*db, QString(), true);
        QCOMPARE(all.rows.size(), size_t(3));
        QCOMPARE(all.rows[2][ora::rcSid], QStringLiteral("13"));
        QCOMPARE(all.rows[2][ora::rcInstance], QStringLiteral("2"));
    }

    void killsAndTellsARefusal() {
        mFixture.load(kBase);
        auto db = open();
        const ora::KillResult result = ora::KillSession(*db, {11, 3, 0}, false);
        QCOMPARE(int(result.outcome), int(ora::KillOutcome::Ended));
        QVERIFY(!mFixture.log().contains(QStringLiteral("IMMEDIATE")));
        QVERIFY(ora::ListSessions(*db, QStringLiteral("PC-B"), false).rows.empty());
        try {
            ora::KillSession(*db, {11, 3, 0}, true);
            QFAIL("a kill of a session that is gone succeeded");
        } catch (const OraError& error) {
            QCOMPARE(error.code(), 30);
        }
    }

    void readsDetailsOrTellsTheSessionIsGone() {
        mFixture.load(kBase);
        auto db = open();
        const std::optional<ora::DetailsRead> texts = ora::ReadDetails(*db, {10, 2, 0});
        QVERIFY(texts);
        QCOMPARE(texts->connectedInstance, 1);
        QVERIFY(texts->texts.fields.contains(
            qMakePair(QStringLiteral("モジュール"), QStringLiteral("受付"))));
        QVERIFY(!ora::ReadDetails(*db, {10, 99, 0}));
    }

    // Esc during a search: the call ends at once with Oracle's own text and the connection
    // serves the next call.
    void aBreakEndsASlowListAndTheConnectionGoesOn() {
        mFixture.load(kBase + QStringLiteral("fault\tslow-execute\t10000\n"));
        ora::CallThread thread;
        std::shared_ptr<ora::OraDatabase> db = openOn(thread);
        const Outcome outcome = callAndBreak(
            thread, *db, [db] { ora::ListSessions(*db, QStringLiteral("PC-A"), false); }, 300);
        QVERIFY(outcome.failure);
        QCOMPARE(outcome.failure->code(), 1013);
        QVERIFY(outcome.failure->description().startsWith(QStringLiteral("ORA-01013: ")));
        QVERIFY2(outcome.breakToEndMs < 100, qPrintable(QString::number(outcome.breakToEndMs)));
        mFixture.load(kBase);
        ora::SessionList list;
        QVERIFY(!callAndBreak(
                     thread, *db,
                     [db, &list] { list = ora::ListSessions(*db, QStringLiteral("PC-A"), false); },
                     -1)
                     .failure);
        QCOMPARE(list.rows.size(), size_t(1));
        closeOn(thread, db);
    }

    // A kill broken off or timed out may still be carried out: its outcome is unknown.
    void aKillBrokenOffOrTimedOutHasAnUnknownOutcome_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("breakAfter");
        QTest::addColumn<int>("code");
        const QString slow = QStringLiteral("fault\tslow-execute\t10000\n");
        QTest::newRow("break") << slow << 300 << 1013;
        QTest::newRow("call time-out")
            << slow + QStringLiteral("fault\tcall-timeout\t300\n") << -1 << 3156;
        // The server ended the session; the answer was lost with the connection.
        QTest::newRow("answer lost") << QStringLiteral("fault\tlose-answer\n") << -1 << 3113;
    }
    void aKillBrokenOffOrTimedOutHasAnUnknownOutcome() {
        QFETCH(QString, fault);
        QFETCH(int, breakAfter);
        QFETCH(int, code);
        mFixture.load(kBase + fault);
        ora::CallThread thread;
        std::shared_ptr<ora::OraDatabase> db = openOn(thread);
        auto result = std::make_shared<ora::KillResult>();
        QElapsedTimer clock;
        clock.start();
        const Outcome outcome = callAndBreak(
            thread, *db,
            [db, result] {
                *result = ora::KillSession(*db, {11, 3, 0}, false);
            },
            breakAfter);
        QVERIFY(!outcome.failure);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(int(result->outcome), int(ora::KillOutcome::Unknown));
        QVERIFY(result->detail);
        QCOMPARE(result->detail->code(), code);
        closeOn(thread, db);
    }

    // A break that reaches the server after its call ended (here: one that blocks longer
    // than the call) would fail the next call; the connection resets itself first.
    void aBreakThatComesTooLateNeverFailsTheNextCall() {
        mFixture.load(kBase + QStringLiteral("fault\tslow-execute\t200\n"
                                             "fault\tbreak-blocks\t400\nfault\tidle-break\n"));
        ora::Connection connection;
        const auto logon =
            connection.logon(std::shared_ptr<ora::OraSession>(ora::CreateOciSession()),
                             QStringLiteral("DB"), QStringLiteral("scott/tiger"));
        QVERIFY(logon.pending->waitFor(5000));
        connection.finish(logon);
        const auto list = [&] {
            return connection.post(
                [](ora::OraDatabase& db) { ora::ListSessions(db, QStringLiteral("PC-A"), false); });
        };
        const ora::Connection::Call first = list();
        QTest::qWait(50);
        connection.interrupt(first);
        QVERIFY(first.pending->waitFor(5000));
        connection.finish(first); // the answer came before the break
        const ora::Connection::Call next = list();
        QVERIFY(next.pending->waitFor(5000));
        connection.finish(next);
        connection.close();
        QVERIFY(ora::WaitForClientCalls(5000));
        QCOMPARE(mFixture.log().count(QStringLiteral("EXEC SELECT")), 2);
    }

private:
    std::unique_ptr<ora::OraDatabase> open() {
        return ora::CreateOciSession()->OpenDatabase(QStringLiteral("DB"),
                                                     QStringLiteral("scott/tiger"), 0);
    }
    // Every call of the connection on its thread, the logon and the log-off included.
    std::shared_ptr<ora::OraDatabase> openOn(ora::CallThread& thread) {
        auto db = std::make_shared<std::shared_ptr<ora::OraDatabase>>();
        const auto call = thread.post([this, db] { *db = open(); });
        if (!call->waitFor(5000))
            qFatal("no logon");
        call->rethrow();
        return *db;
    }
    void closeOn(ora::CallThread& thread, std::shared_ptr<ora::OraDatabase>& db) {
        const auto call = thread.post([db] { db->Close(); });
        QVERIFY(call->waitFor(5000));
        db.reset();
    }

    testsupport::StandinFixture mFixture;
};

QTEST_GUILESS_MAIN(TestSessionOps)
#include "test_sessionops.moc"
