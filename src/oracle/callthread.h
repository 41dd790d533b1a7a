#pragma once

#include "oracle/database.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ora {

// A call whose waiter gave up on it (a logon the user stopped waiting for, a call still running
// when the program ends). Nobody reads its outcome.
class CallAbandoned final : public OraError {
public:
    CallAbandoned() : OraError(QStringLiteral("接続を中止しました。")) {}
};

// One call posted to a CallThread. The thread sets its outcome; the waiter reads it once
// finished() is true, or gives up on it.
class PendingCall final {
public:
    PendingCall() = default;
    Q_DISABLE_COPY_MOVE(PendingCall)
    bool finished() const;
    bool abandoned() const;
    // Gives up waiting: wakes the waiter, and the job (which asks abandoned()) may undo what it
    // did. False when the call had finished already: then its outcome stands.
    bool abandon();
    // `wake` runs on the call's thread when the call finishes or is abandoned, or at once when
    // it has already; an empty function stops that. The waiter's own objects stay untouched
    // after this returns.
    void setWake(std::function<void()> wake);
    // Waits on this thread for at most `ms` milliseconds; true when the call finished.
    bool waitFor(int ms);
    // Rethrows the job's failure, if any.
    void rethrow() const;

private:
    friend class CallThread;
    void finish(std::exception_ptr failure);

    mutable std::mutex mMutex;
    std::condition_variable mDone;
    bool mFinished = false;
    bool mAbandoned = false;
    std::exception_ptr mFailure;
    std::function<void()> mWake;
};

// The one thread that makes every call of one connection, in the order they were posted, so
// that no handle of it is ever used by two threads at once; the window waits for it without
// blocking. The thread ends with the object, once the calls posted have run; an object
// destroyed while a call still hangs lets the thread finish on its own.
class CallThread final {
public:
    CallThread();
    ~CallThread();
    Q_DISABLE_COPY_MOVE(CallThread)

    std::shared_ptr<PendingCall> post(std::function<void()> job);
    // True while a posted call has not finished.
    bool busy() const;

private:
    struct Queue;
    static void run(std::shared_ptr<Queue> queue);

    std::shared_ptr<Queue> mQueue;
    std::thread mThread;
};

} // namespace ora
