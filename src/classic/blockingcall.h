#pragma once

#include <type_traits>
#include <utility>

namespace platform {

// Throws away the keyboard and mouse input that is waiting to be handled. The other pending
// events (painting, timers, a close request from the window manager) run as they would.
void DiscardPendingInput();

// Runs a call that blocks the window (a round trip to the database) and then throws away the
// keystrokes and clicks that arrived meanwhile: the user typed them at a window that could
// not react, and replayed later they would act on whatever has the focus then.
template <typename Call> auto BlockingCall(Call&& call) -> decltype(call()) {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            std::forward<Call>(call)();
            DiscardPendingInput();
        } else {
            auto result = std::forward<Call>(call)();
            DiscardPendingInput();
            return result;
        }
    } catch (...) {
        DiscardPendingInput();
        throw;
    }
}

} // namespace platform
