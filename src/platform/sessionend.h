#pragma once

#include <functional>

namespace platform {
// Runs `handler` on the user-interface thread when the session asks the program to end.
// On X11 desktops: SIGTERM (logging out, shutting down), SIGHUP (its terminal closed), SIGINT
// (Ctrl+C), in the event loop. On Windows: a logoff or shutdown, while Windows waits for the
// program's answer, so that the handler has finished before the session goes. Installed once,
// at start.
void OnSessionEnd(std::function<void()> handler);
} // namespace platform
