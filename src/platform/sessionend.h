#pragma once

#include <functional>

namespace platform {
// Runs `handler` on the user-interface thread, in its event loop, when the session asks the
// program to end: SIGTERM (logging out, shutting down), SIGHUP (its terminal closed), SIGINT
// (Ctrl+C). Installed once, at start.
void OnSessionEnd(std::function<void()> handler);
} // namespace platform
