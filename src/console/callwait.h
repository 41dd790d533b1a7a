#pragma once

#include "oracle/callthread.h"
#include "oracle/connection.h"

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

// Esc gives the call up: the wait ends at once, the call runs on and undoes itself.
OnEsc GivesUp();

// Returns once `call` has finished or has been given up; with a limit, it is given up after
// that many milliseconds. Without a status bar nothing is said about Esc.
void Wait(ora::PendingCall& call, PanelStatusBar* bar, const OnEsc& onEsc, int limitMs = -1);

// Waits for a call of `connection`, then throws what it ended with (Connection::finish). Esc
// breaks it off, and gives it up when the break does not end it; with `escGivesUp` (a logon,
// which cannot be broken off), Esc gives it up at once.
void Wait(ora::Connection& connection, const ora::Connection::Call& call, PanelStatusBar* bar,
          bool escGivesUp = false);

// Gives up every wait in progress (the program is ending and a call does not come back).
void AbandonAll();

// True while a wait is in progress.
bool InProgress();

// Runs `job` with the open database on the connection's thread and waits for it. `job` must
// hold copies of what it uses: a call given up goes on after this has returned. Throws the
// job's failure, ora::ConnectionGivenUp or ora::CallAbandoned.
template <typename Job> auto Run(ora::Connection& connection, PanelStatusBar* bar, Job job) {
    using Result = decltype(job(std::declval<ora::OraDatabase&>()));
    if constexpr (std::is_void_v<Result>) {
        Wait(connection, connection.post(std::move(job)), bar);
    } else {
        auto out = std::make_shared<std::optional<Result>>();
        Wait(connection, connection.post([out, job = std::move(job)](ora::OraDatabase& db) mutable {
            *out = job(db);
        }),
             bar);
        return std::move(**out);
    }
}

} // namespace callwait
