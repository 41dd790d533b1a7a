// One connection without a window: its logon, calls, breaks, give-up and logoff against a
// server that answers slowly, breaks that block or are ignored, and answers that are lost.
#include "oracle/connection.h"
#include "oracle/errorkind.h"
#include "oracle/sessionops.h"

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using ora::OraError;

namespace {

OraError oraError(int code, const char* text) {
    return OraError(
        QStringLiteral("ORA-%1: %2").arg(code, 5, 10, QChar(u'0')).arg(QLatin1String(text)), code);
}

// What the server and the network do, set by the test and read by the calls' threads.
struct Server {
    std::atomic<int> callMs{0};
    std::atomic<int> logonMs{0};
    std::atomic<int> breakBlocksMs{0};
    std::atomic<bool> breakIgnored{false};
    std::atomic<bool> loseAnswer{false}; // the statement is carried out, its answer lost
    std::atomic<int> refusal{0};         // the server answers this ORA code
    std::atomic<int> breaks{0}, resets{0}, closes{0}, sent{0}, executed{0};
    std::atomic<bool> freedOnTheTestsThread{false};
    std::thread::id testsThread = std::this_thread::get_id();
};

// A connection as a pessimistic reading of a real client has it: a break that ends no call
// stays on the line and fails the next call with ORA-01013 unless the connection is reset.
class Database : public ora::OraDatabase {
public:
    explicit Database(std::shared_ptr<Server> server) : mServer(std::move(server)) {}
    ~Database() override {
        if (std::this_thread::get_id() == mServer->testsThread)
            mServer->freedOnTheTestsThread = true;
    }
    std::unique_ptr<ora::OraDynaset> DbCreateDynaset(const QString&, qint32) override {
        throw OraError(QStringLiteral("not used"));
    }
    qint64 ExecuteSQL(const QString&) override {
        ++mServer->sent;
        std::unique_lock lock(mMutex);
        if (std::exchange(mStaleBreak, false))
            throw oraError(1013, "user requested cancel of current operation");
        mInCall = true;
        mBroken = false;
        const bool broken = mSignal.wait_for(lock, std::chrono::milliseconds(mServer->callMs),
                                             [this] { return mBroken; });
        mInCall = false;
        if (broken)
            throw oraError(1013, "user requested cancel of current operation");
        ++mServer->executed;
        if (mServer->loseAnswer)
            throw oraError(3113, "end-of-file on communication channel");
        if (const int code = mServer->refusal)
            throw oraError(code, "refused");
        return 1;
    }
    void Break() override {
        ++mServer->breaks;
        std::this_thread::sleep_for(std::chrono::milliseconds(mServer->breakBlocksMs));
        {
            const std::lock_guard lock(mMutex);
            if (mInCall && !mServer->breakIgnored)
                mBroken = true;
            else
                mStaleBreak = true;
        }
        mSignal.notify_all();
    }
    void Reset() override {
        ++mServer->resets;
        const std::lock_guard lock(mMutex);
        mStaleBreak = false;
    }
    void Close() override {
        ++mServer->closes;
        if (std::this_thread::get_id() == mServer->testsThread)
            mServer->freedOnTheTestsThread = true;
    }

private:
    std::shared_ptr<Server> mServer;
    std::mutex mMutex;
    std::condition_variable mSignal;
    bool mInCall = false;
    bool mBroken = false;
    bool mStaleBreak = false;
};

class Session : public ora::OraSession {
public:
    explicit Session(std::shared_ptr<Server> server) : mServer(std::move(server)) {}
    std::unique_ptr<ora::OraDatabase> OpenDatabase(const QString&, const QString&,
                                                   qint32) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(mServer->logonMs));
        return std::make_unique<Database>(mServer);
    }

private:
    std::shared_ptr<Server> mServer;
};

constexpr int kGiveUpMs = 600;

// Waits as the window does, until the call finished or was given up.
void waitFor(const ora::Connection::Call& call, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!call.pending->finished() && !call.pending->abandoned() && clock.elapsed() < ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// The failure a call ended with: its ORA code, -1 for a given-up connection, 0 for none.
int outcome(ora::Connection& connection, const ora::Connection::Call& call) {
    try {
        connection.finish(call);
    } catch (const ora::ConnectionGivenUp&) {
        return -1;
    } catch (const OraError& error) {
        return error.code();
    }
    return 0;
}

ora::Connection::Call statement(ora::Connection& connection) {
    return connection.post([](ora::OraDatabase& db) { db.ExecuteSQL(QStringLiteral("x")); });
}

// How a new call is refused: its ORA code, -1 for a given-up connection, 0 when it is taken.
// A refused call never counts as one whose answer was lost.
int refusal(ora::Connection& connection) {
    try {
        statement(connection);
    } catch (const ora::CallNotSent& error) {
        if (ora::AnswerLost(error))
            return -2;
        return error.description() == ora::ConnectionGivenUp().description() ? -1 : error.code();
    }
    return 0;
}

std::shared_ptr<ora::Connection> loggedOn(const std::shared_ptr<Server>& server) {
    auto connection = std::make_shared<ora::Connection>(kGiveUpMs);
    const ora::Connection::Call logon = connection->logon(
        std::make_shared<Session>(server), QStringLiteral("h"), QStringLiteral("u/p"));
    waitFor(logon);
    connection->finish(logon);
    return connection;
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QVERIFY(ora::WaitForClientCalls(5000)); }

    // Esc at each moment of a call, with breaks that work, block or are ignored; then the
    // next call, which must never fail for a break it did not get.
    void escAtEachMomentOfACall() {
        QFETCH(int, escAfterMs);
        QFETCH(int, escs);
        QFETCH(int, breakBlocksMs);
        QFETCH(bool, breakIgnored);
        QFETCH(int, code);
        QFETCH(int, breaks);
        QFETCH(int, maxWaitMs);
        auto server = std::make_shared<Server>();
        const std::shared_ptr<ora::Connection> connection = loggedOn(server);
        server->callMs = 300;
        server->breakBlocksMs = breakBlocksMs;
        server->breakIgnored = breakIgnored;
        // Another call ahead keeps this one from starting: Esc may come before it runs.
        const ora::Connection::Call ahead = statement(*connection);
        const ora::Connection::Call call = statement(*connection);
        QElapsedTimer clock;
        clock.start();
        if (escAfterMs < 0) {
            for (int i = 0; i < escs; ++i)
                connection->interrupt(call);
        } else {
            QTRY_VERIFY(ahead.pending->finished());
            if (escAfterMs > 0)
                waitFor(call); // the answer is in before Esc
            else
                QTest::qWait(100); // the round trip is in flight
            clock.restart();
            for (int i = 0; i < escs; ++i)
                connection->interrupt(call);
            // Esc itself never waits for the break.
            QVERIFY(clock.elapsed() < 50);
        }
        waitFor(call);
        QVERIFY2(clock.elapsed() < maxWaitMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(outcome(*connection, ahead), 0);
        QCOMPARE(outcome(*connection, call), code);
        QCOMPARE(server->breaks.load(), breaks);
        if (code == -1) {
            // Given up: no new call, and the logoff follows the call still running.
            QVERIFY(!connection->open());
            QCOMPARE(refusal(*connection), -1);
            QTRY_COMPARE_WITH_TIMEOUT(server->closes.load(), 1, 5000);
        } else {
            server->callMs = 0;
            const ora::Connection::Call next = statement(*connection);
            waitFor(next);
            QCOMPARE(outcome(*connection, next), 0);
            QVERIFY(connection->open());
        }
        QVERIFY(!server->freedOnTheTestsThread);
    }
    void escAtEachMomentOfACall_data() {
        QTest::addColumn<int>("escAfterMs"); // -1: before it runs; 0: during; 1: after
        QTest::addColumn<int>("escs");
        QTest::addColumn<int>("breakBlocksMs");
        QTest::addColumn<bool>("breakIgnored");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("breaks");
        QTest::addColumn<int>("maxWaitMs");
        QTest::newRow("before the round trip: nothing sent")
            << -1 << 1 << 0 << false << 1013 << 0 << 1000;
        QTest::newRow("during it: broken off") << 0 << 1 << 0 << false << 1013 << 1 << 200;
        QTest::newRow("after the answer: nothing sent") << 1 << 1 << 0 << false << 0 << 0 << 1000;
        QTest::newRow("twice: one break") << 0 << 2 << 0 << false << 1013 << 1 << 200;
        QTest::newRow("a break that blocks, the call ending first")
            << 0 << 1 << 400 << false << 0 << 1 << kGiveUpMs;
        QTest::newRow("an ignored break, the call ending first")
            << 0 << 1 << 0 << true << 0 << 1 << kGiveUpMs;
    }

    // A break that does not end the call within the give-up time gives it up, whether it
    // blocks on a dead network or is ignored: the wait ends, and the connection is closed
    // behind the call.
    void aBreakThatDoesNotEndTheCallGivesItUp() {
        QFETCH(int, breakBlocksMs);
        QFETCH(bool, breakIgnored);
        auto server = std::make_shared<Server>();
        const std::shared_ptr<ora::Connection> connection = loggedOn(server);
        server->callMs = 3000;
        server->breakBlocksMs = breakBlocksMs;
        server->breakIgnored = breakIgnored;
        const ora::Connection::Call call = statement(*connection);
        QTest::qWait(100);
        QElapsedTimer clock;
        clock.start();
        connection->interrupt(call);
        QVERIFY(clock.elapsed() < 50);
        waitFor(call);
        QVERIFY(clock.elapsed() >= kGiveUpMs - 20 && clock.elapsed() < kGiveUpMs + 300);
        QCOMPARE(outcome(*connection, call), -1);
        QVERIFY(!connection->open());
        QCOMPARE(server->closes.load(), 0); // the call still runs
        QTRY_COMPARE_WITH_TIMEOUT(server->closes.load(), 1, 6000);
        QVERIFY(!server->freedOnTheTestsThread);
    }
    void aBreakThatDoesNotEndTheCallGivesItUp_data() {
        QTest::addColumn<int>("breakBlocksMs");
        QTest::addColumn<bool>("breakIgnored");
        QTest::newRow("blocked") << 4000 << false;
        QTest::newRow("ignored") << 0 << true;
    }

    // The logon given up or closed in each phase is logged off on the connection's thread,
    // never the owner's, and nothing is sent on it.
    void closeInEachPhaseOfTheLogon() {
        QFETCH(int, closeAfterMs);
        QFETCH(bool, giveUp);
        auto server = std::make_shared<Server>();
        server->logonMs = 300;
        auto connection = std::make_shared<ora::Connection>(kGiveUpMs);
        const ora::Connection::Call logon = connection->logon(
            std::make_shared<Session>(server), QStringLiteral("h"), QStringLiteral("u/p"));
        if (closeAfterMs > 0)
            waitFor(logon);
        if (giveUp)
            QVERIFY(logon.pending->abandon());
        connection->close();
        QCOMPARE(refusal(*connection), 3114);
        connection.reset(); // the owner lets go at once
        QVERIFY(ora::WaitForClientCalls(3000));
        QCOMPARE(server->closes.load(), 1);
        QCOMPARE(server->sent.load(), 0);
        QVERIFY(!server->freedOnTheTestsThread);
    }
    void closeInEachPhaseOfTheLogon_data() {
        QTest::addColumn<int>("closeAfterMs");
        QTest::addColumn<bool>("giveUp");
        QTest::newRow("given up during the logon") << 0 << true;
        QTest::newRow("closed during the logon") << 0 << false;
        QTest::newRow("closed after the logon") << 300 << false;
    }

    // Closing during a call breaks it off and logs off behind it; the end of the program
    // waits for that within its bound, and no longer.
    void closeDuringACallAndTheBoundOnTheEnd() {
        QFETCH(int, breakBlocksMs);
        QFETCH(bool, done);
        auto server = std::make_shared<Server>();
        std::shared_ptr<ora::Connection> connection = loggedOn(server);
        server->callMs = 5000;
        server->breakBlocksMs = breakBlocksMs;
        const ora::Connection::Call call = statement(*connection);
        QTest::qWait(100);
        connection->close();
        connection.reset();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(ora::WaitForClientCalls(1000), done);
        QVERIFY(clock.elapsed() < 1200);
        QCOMPARE(server->closes.load(), done ? 1 : 0);
        QVERIFY(ora::WaitForClientCalls(10000));
        QCOMPARE(server->closes.load(), 1);
    }
    void closeDuringACallAndTheBoundOnTheEnd_data() {
        QTest::addColumn<int>("breakBlocksMs");
        QTest::addColumn<bool>("done");
        QTest::newRow("the break ends the call") << 0 << true;
        QTest::newRow("the break blocks past the bound") << 2000 << false;
    }

    // A kill or cancel whose answer did not come back may have been carried out.
    void aLostAnswerLeavesTheKillsOutcomeUnknown() {
        QFETCH(int, code);
        QFETCH(int, outcomeKind); // 0 ended, 1 marked, 2 unknown, 3 refused
        QFETCH(bool, executed);
        auto server = std::make_shared<Server>();
        const std::shared_ptr<ora::Connection> connection = loggedOn(server);
        server->callMs = code == 1013 ? 2000 : 0;
        server->loseAnswer = code == 3113;
        if (code != 1013 && code != 3113)
            server->refusal = code;
        auto result = std::make_shared<std::optional<ora::KillResult>>();
        const ora::Connection::Call call = connection->post([result](ora::OraDatabase& db) {
            *result = ora::KillSession(db, ora::SessionKey{12, 345, 0}, false);
        });
        if (code == 1013) {
            QTest::qWait(100);
            connection->interrupt(call);
        }
        waitFor(call);
        const int failure = outcome(*connection, call);
        QCOMPARE(server->executed.load(), executed ? 1 : 0);
        if (outcomeKind == 3) {
            QCOMPARE(failure, code);
            return;
        }
        QCOMPARE(failure, 0);
        QCOMPARE(int((*result)->outcome), outcomeKind);
        if (outcomeKind == 2)
            QCOMPARE((*result)->detail->code(), code);
    }
    void aLostAnswerLeavesTheKillsOutcomeUnknown_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("outcomeKind");
        QTest::addColumn<bool>("executed");
        QTest::newRow("done") << 0 << 0 << true;
        QTest::newRow("answer lost with the connection") << 3113 << 2 << true;
        QTest::newRow("broken off") << 1013 << 2 << false;
        QTest::newRow("marked for kill") << 31 << 1 << true;
        QTest::newRow("no such session") << 30 << 3 << true;
        QTest::newRow("no privilege") << 1031 << 3 << true;
    }

    void answerLostClassifiesByWhatTheCodeMeans() {
        for (int code : {1013, 3156, 3113, 3114, 3135, 3136, 12161, 12537, 12547, 12570, 12571})
            QVERIFY2(ora::AnswerLost(OraError(QString(), code)), qPrintable(QString::number(code)));
        for (int code : {0, 26, 27, 30, 31, 1031, 942, 2065})
            QVERIFY2(!ora::AnswerLost(OraError(QString(), code)),
                     qPrintable(QString::number(code)));
        QVERIFY(ora::AnswerLost(ora::ConnectionGivenUp()));
        // Refused before it was sent: nothing was done.
        QVERIFY(!ora::AnswerLost(ora::CallNotSent(QString(), 1013)));
        QVERIFY(!ora::AnswerLost(ora::CallNotSent(QString(), 3114)));
        QVERIFY(ora::ConnectionLost(ora::ConnectionGivenUp()));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "test_connection.moc"
