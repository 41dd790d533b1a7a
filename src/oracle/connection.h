#pragma once

#include "oracle/callthread.h"
#include "oracle/database.h"

#include <cstdint>
#include <functional>
#include <memory>

// One connection to the database, from its logon to its logoff.
//
// Threads. A Connection object belongs to one thread, the owner's (the window's): only that
// thread calls its member functions. Every call into the client library is made elsewhere:
// the logon, the statements, the reset and the logoff on the connection's own call thread, in
// the order they were asked for; a break on a short-lived thread of its own, so that a break
// that blocks on a dead network holds no thread anybody waits for. No lock is held across a
// call into the client library, the owner's included.
//
// Who frees what. The database object is shared by the call thread's jobs and a break in
// flight; it is logged off and freed on the call thread (the logoff is the last job), never
// on the owner's. Destroying the Connection closes it in the background: the call thread
// lives on until its last job, the logoff, is done.
//
// A call and its break. Esc (interrupt) sends at most one break per call, and only while that
// call's job is running; a call not started yet is never sent, it fails with ORA-01013; a call
// that has finished is left alone. A call that was broken off and completed anyway leaves the
// connection reset before the next call runs, so that no later call fails with an ORA-01013
// nobody asked for. When the break has not ended the call after the give-up time, the call is
// given up: its waiter is woken, the connection takes no new call and is logged off behind
// the call still running, and nothing the call returns afterwards is acted on.
//
// The end of the program. Logons, calls, breaks and logoffs of every connection are counted
// while they are inside the client library; WaitForClientCalls lets the program wait, within
// a bound, until none is.
namespace ora {

// The connection was given up because its server did not answer a break in time. Every
// later call fails the same way, as on a lost connection.
class ConnectionGivenUp final : public OraError {
public:
    ConnectionGivenUp();
};

// A call refused before anything of it reached the server (Esc before it began, a connection
// closed or given up): whatever it was to do was not done.
class CallNotSent final : public OraError {
public:
    using OraError::OraError;
};

class Connection final {
public:
    // How long a break may take to end its call before the call is given up: short enough
    // that the wait, woken through the window's event loop, ends within two seconds of Esc.
    static constexpr int kGiveUpMs = 1800;

    explicit Connection(int giveUpMs = kGiveUpMs);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // One posted call: what the waiter waits on, and what interrupt and finish name.
    struct Call {
        std::shared_ptr<PendingCall> pending;
        std::uint64_t id = 0;
    };

    // Logs on with session->OpenDatabase on the call thread. A logon the waiter gives up is
    // logged off there once close() is called, however late it completes.
    Call logon(std::shared_ptr<OraSession> session, const QString& host, QString connect);
    // Runs `job` on the call thread with the open database. Throws CallNotSent when the
    // connection is not open (never logged on, closed or given up).
    Call post(std::function<void(OraDatabase&)> job);
    // Esc: breaks the call off as described above. Returns at once.
    void interrupt(const Call& call);
    // After the wait ended: rethrows the call's failure; ConnectionGivenUp when the call was
    // given up for an unanswered break (the connection is then closed in the background);
    // CallAbandoned when its waiter gave it up.
    void finish(const Call& call);
    // Logged on, not closed, not given up.
    bool open() const;
    // Breaks off a call in flight and logs off behind it, in the background; no call is made
    // after it but the logoff. Returns at once; calling it again does nothing.
    void close();

private:
    struct State;
    // Sends the break on a thread of its own; with giveUpMs >= 0, gives the call up when it has
    // not ended that long after.
    static void breakOff(const std::shared_ptr<State>& state, const Call& call,
                         const std::shared_ptr<OraDatabase>& db, int giveUpMs);
    std::uint64_t nextId();
    Call postJob(std::uint64_t id, std::function<void()> job);

    std::shared_ptr<State> mState;
    std::unique_ptr<CallThread> mThread;
    int mGiveUpMs;
    bool mCloseSent = false;
};

// Waits at most `ms` milliseconds until no connection's thread is inside the client library
// (a logon, a call, a break or a logoff); true when none is.
bool WaitForClientCalls(int ms);

} // namespace ora
