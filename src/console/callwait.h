#pragma once

#include "oracle/callthread.h"

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

class PanelStatusBar;

// Waiting for a database call made on the connection's own thread. Meanwhile the window
// keeps painting and answering the window system, the search banner and the hourglass stay
// drawn, and the keys and clicks the user gives are dropped (never carried out later), except
// Esc, which ends the wait its own way. After a second the status bar says so.
namespace callwait {

// What Esc does to the call waited for.
using OnEsc = std::function<void(ora::PendingCall&)>;

// Esc breaks the call off on the server; the call then fails with ORA-01013.
OnEsc Breaks(std::shared_ptr<ora::OraDatabase> db);
// Esc gives the call up: the wait ends at once, the call runs on and undoes itself.
OnEsc GivesUp();

// Returns once `call` has finished or has been given up; with a limit, it is given up after
// that many milliseconds. Without a status bar nothing is said about Esc.
void Wait(ora::PendingCall& call, PanelStatusBar* bar, const OnEsc& onEsc, int limitMs = -1);

// Gives up every wait in progress (the program is ending and a call does not come back).
void AbandonAll();

// True while a wait is in progress.
bool InProgress();

// Runs `job` on `thread` and waits for it. `job` must hold copies of what it uses: a call
// given up goes on after this has returned. Throws the job's failure, or ora::CallAbandoned.
template <typename Job>
auto Run(ora::CallThread& thread, PanelStatusBar* bar, const OnEsc& onEsc, Job job)
    -> decltype(job()) {
    using Result = decltype(job());
    if constexpr (std::is_void_v<Result>) {
        const std::shared_ptr<ora::PendingCall> call = thread.post(std::move(job));
        Wait(*call, bar, onEsc);
        if (call->abandoned())
            throw ora::CallAbandoned();
        call->rethrow();
    } else {
        auto out = std::make_shared<std::optional<Result>>();
        const std::shared_ptr<ora::PendingCall> call =
            thread.post([out, job = std::move(job)]() mutable { *out = job(); });
        Wait(*call, bar, onEsc);
        if (call->abandoned())
            throw ora::CallAbandoned();
        call->rethrow();
        return std::move(**out);
    }
}

} // namespace callwait
