#include "oracle/callthread.h"

namespace ora {

bool PendingCall::finished() const {
    const std::lock_guard lock(mMutex);
    return mFinished;
}

bool PendingCall::abandoned() const {
    const std::lock_guard lock(mMutex);
    return mAbandoned;
}

bool PendingCall::abandon() {
    const std::lock_guard lock(mMutex);
    if (mFinished)
        return false;
    mAbandoned = true;
    if (mWake)
        mWake();
    return true;
}

void PendingCall::setWake(std::function<void()> wake) {
    std::unique_lock lock(mMutex);
    mWake = std::move(wake);
    if ((mFinished || mAbandoned) && mWake) {
        // Called under the lock, so that a waiter clearing it later finds it done.
        mWake();
    }
}

bool PendingCall::waitFor(int ms) {
    std::unique_lock lock(mMutex);
    return mDone.wait_for(lock, std::chrono::milliseconds(ms), [this] { return mFinished; });
}

void PendingCall::rethrow() const {
    const std::lock_guard lock(mMutex);
    if (mFailure)
        std::rethrow_exception(mFailure);
}

void PendingCall::finish(std::exception_ptr failure) {
    const std::lock_guard lock(mMutex);
    mFinished = true;
    mFailure = std::move(failure);
    if (mWake)
        mWake();
    mDone.notify_all();
}

struct CallThread::Queue {
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<std::pair<std::function<void()>, std::shared_ptr<PendingCall>>> jobs;
    bool running = false; // a job has been taken and not finished
    bool ending = false;
};

CallThread::CallThread() : mQueue(std::make_shared<Queue>()), mThread(&CallThread::run, mQueue) {}

CallThread::~CallThread() {
    bool idle = false;
    {
        const std::lock_guard lock(mQueue->mutex);
        mQueue->ending = true;
        idle = !mQueue->running && mQueue->jobs.empty();
    }
    mQueue->posted.notify_all();
    // A call that hangs must not hold the window; the thread keeps what it needs and ends
    // when the call returns.
    if (idle)
        mThread.join();
    else
        mThread.detach();
}

std::shared_ptr<PendingCall> CallThread::post(std::function<void()> job) {
    auto call = std::make_shared<PendingCall>();
    {
        const std::lock_guard lock(mQueue->mutex);
        mQueue->jobs.emplace_back(std::move(job), call);
    }
    mQueue->posted.notify_all();
    return call;
}

bool CallThread::busy() const {
    const std::lock_guard lock(mQueue->mutex);
    return mQueue->running || !mQueue->jobs.empty();
}

void CallThread::run(std::shared_ptr<Queue> queue) {
    for (;;) {
        std::function<void()> job;
        std::shared_ptr<PendingCall> call;
        {
            std::unique_lock lock(queue->mutex);
            queue->posted.wait(lock, [&] { return queue->ending || !queue->jobs.empty(); });
            if (queue->jobs.empty())
                return;
            job = std::move(queue->jobs.front().first);
            call = std::move(queue->jobs.front().second);
            queue->jobs.pop_front();
            queue->running = true;
        }
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        // The job goes before the call is reported finished: what it holds (a database) is
        // released on this thread, never on the waiter's.
        job = nullptr;
        {
            const std::lock_guard lock(queue->mutex);
            queue->running = false;
        }
        call->finish(std::move(failure));
    }
}

} // namespace ora
