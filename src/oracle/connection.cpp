#include "oracle/connection.h"

#include "oracle/secret.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace ora {

namespace {

// The threads inside the client library on behalf of any connection.
struct ClientCalls {
    std::mutex mutex;
    std::condition_variable none;
    int count = 0;
};
ClientCalls& clientCalls() {
    static ClientCalls calls;
    return calls;
}

// Counts one piece of work from its posting to its end: a job waiting behind another is
// still work the program must not leave behind.
class ClientWork {
public:
    ClientWork() {
        const std::lock_guard lock(clientCalls().mutex);
        ++clientCalls().count;
    }
    ~ClientWork() {
        ClientCalls& calls = clientCalls();
        const std::lock_guard lock(calls.mutex);
        if (--calls.count == 0)
            calls.none.notify_all();
    }
    ClientWork(const ClientWork&) = delete;
    ClientWork& operator=(const ClientWork&) = delete;
};

CallNotSent notConnected() {
    return CallNotSent(QStringLiteral("ORA-03114: not connected to ORACLE"), 3114);
}

CallNotSent cancelledBeforeSent() {
    return CallNotSent(QStringLiteral("ORA-01013: user requested cancel of current operation"),
                       1013);
}

} // namespace

ConnectionGivenUp::ConnectionGivenUp()
    : OraError(QStringLiteral("ｻｰﾊﾞｰが中断に応答しないため、接続を切り離しました。")) {}

struct Connection::State {
    std::mutex mutex;
    std::condition_variable breaksDone;
    std::shared_ptr<OraDatabase> db; // set by the logon, taken by the logoff
    bool closing = false;            // no call is started any more but the logoff
    bool givenUp = false;
    std::uint64_t lastId = 0;             // the last call posted
    std::uint64_t lastStarted = 0;        // the last call whose job began
    std::uint64_t running = 0;            // the call whose round trips are in flight, or 0
    std::uint64_t broken = 0;             // the last call a break was sent for
    std::set<std::uint64_t> escapedEarly; // Esc came before the call began
    int breaksInFlight = 0;
    bool resetDue = false; // a break was sent: reset before the next call
};

Connection::Connection(int giveUpMs)
    : mState(std::make_shared<State>()), mThread(std::make_unique<CallThread>()),
      mGiveUpMs(giveUpMs) {}

Connection::~Connection() {
    close();
    // The thread lives on until the logoff is done; ~CallThread lets it.
    mThread.reset();
}

std::uint64_t Connection::nextId() {
    const std::lock_guard lock(mState->mutex);
    return ++mState->lastId;
}

Connection::Call Connection::postJob(std::uint64_t id, std::function<void()> job) {
    auto work = std::make_shared<ClientWork>();
    return {mThread->post([job = std::move(job), work]() mutable {
                // The work ends with the job, on this thread.
                const std::shared_ptr<ClientWork> done = std::move(work);
                job();
            }),
            id};
}

Connection::Call Connection::logon(std::shared_ptr<OraSession> session, const QString& host,
                                   QString connect) {
    std::shared_ptr<State> state = mState;
    return postJob(nextId(), [state, session = std::move(session), host,
                              connect = std::move(connect)]() mutable {
        struct WipeAfter {
            QString& text;
            ~WipeAfter() { Wipe(text); }
        } wipe{connect};
        std::shared_ptr<OraDatabase> db = session->OpenDatabase(host, connect, 0);
        const std::lock_guard lock(state->mutex);
        // Also when the logon was given up meanwhile: the logoff posted behind it ends it here.
        state->db = std::move(db);
    });
}

Connection::Call Connection::post(std::function<void(OraDatabase&)> job) {
    {
        const std::lock_guard lock(mState->mutex);
        if (mState->givenUp)
            throw CallNotSent(ConnectionGivenUp().description());
        if (mState->closing || !mState->db)
            throw notConnected();
    }
    std::shared_ptr<State> state = mState;
    const std::uint64_t id = nextId();
    return postJob(id, [state, id, job = std::move(job)] {
        std::shared_ptr<OraDatabase> db;
        bool reset = false;
        {
            std::unique_lock lock(state->mutex);
            state->lastStarted = id;
            if (state->escapedEarly.erase(id))
                throw cancelledBeforeSent();
            if (state->closing || !state->db)
                throw notConnected();
            db = state->db;
            if (state->resetDue) {
                // The break must have arrived before the reset can clear it.
                state->breaksDone.wait(lock, [&] { return state->breaksInFlight == 0; });
                state->resetDue = false;
                reset = true;
            }
        }
        if (reset) {
            try {
                db->Reset();
            } catch (const OraError&) {
                // A connection that cannot be reset fails the call itself, with its own text.
            }
        }
        {
            const std::lock_guard lock(state->mutex);
            if (state->escapedEarly.erase(id))
                throw cancelledBeforeSent();
            state->running = id;
        }
        struct Done {
            State& state;
            ~Done() {
                const std::lock_guard lock(state.mutex);
                state.running = 0;
            }
        } done{*state};
        job(*db);
    });
}

void Connection::interrupt(const Call& call) {
    std::shared_ptr<OraDatabase> db;
    {
        const std::lock_guard lock(mState->mutex);
        if (call.id > mState->lastStarted) {
            mState->escapedEarly.insert(call.id);
            return;
        }
        if (mState->running != call.id || mState->broken == call.id || !mState->db)
            return;
        mState->broken = call.id;
        db = mState->db;
    }
    breakOff(mState, call, db, mGiveUpMs);
}

void Connection::breakOff(const std::shared_ptr<State>& state, const Call& call,
                          const std::shared_ptr<OraDatabase>& db, int giveUpMs) {
    {
        const std::lock_guard lock(state->mutex);
        ++state->breaksInFlight;
        state->resetDue = true;
    }
    auto work = std::make_shared<ClientWork>();
    std::thread([state, db, work] {
        try {
            db->Break();
        } catch (...) {
            // A break that fails tells nothing: the call ends or is given up all the same.
        }
        {
            const std::lock_guard lock(state->mutex);
            --state->breaksInFlight;
        }
        state->breaksDone.notify_all();
    }).detach();
    if (giveUpMs < 0)
        return;
    std::thread([state, pending = call.pending, giveUpMs] {
        if (pending->waitFor(giveUpMs))
            return;
        // Decided before the call is given up, so that its waiter finds the reason.
        {
            const std::lock_guard lock(state->mutex);
            if (pending->finished())
                return;
            state->givenUp = true;
            state->closing = true;
        }
        pending->abandon();
    }).detach();
}

void Connection::finish(const Call& call) {
    if (call.pending->abandoned()) {
        bool givenUp = false;
        {
            const std::lock_guard lock(mState->mutex);
            givenUp = mState->givenUp;
        }
        if (givenUp) {
            close();
            throw ConnectionGivenUp();
        }
        throw CallAbandoned();
    }
    call.pending->rethrow();
}

bool Connection::open() const {
    const std::lock_guard lock(mState->mutex);
    return mState->db && !mState->closing;
}

void Connection::close() {
    if (std::exchange(mCloseSent, true))
        return;
    std::shared_ptr<OraDatabase> db;
    Call running;
    {
        const std::lock_guard lock(mState->mutex);
        mState->closing = true;
        // Whoever waits for the call in flight is leaving.
        if (mState->running != 0 && mState->broken != mState->running && mState->db) {
            mState->broken = mState->running;
            running.id = mState->running;
            db = mState->db;
        }
    }
    if (db)
        breakOff(mState, running, db, -1);
    std::shared_ptr<State> state = mState;
    postJob(nextId(), [state] {
        std::shared_ptr<OraDatabase> db;
        {
            const std::lock_guard lock(state->mutex);
            db = std::move(state->db);
            state->db.reset();
        }
        if (!db)
            return;
        try {
            db->Close();
        } catch (const OraError&) {
            // A connection that died cannot be logged off; its handles are freed all the same.
        }
    });
}

bool WaitForClientCalls(int ms) {
    ClientCalls& calls = clientCalls();
    std::unique_lock lock(calls.mutex);
    return calls.none.wait_for(lock, std::chrono::milliseconds(ms),
                               [&] { return calls.count == 0; });
}

} // namespace ora
