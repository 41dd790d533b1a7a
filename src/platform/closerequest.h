#pragma once

#include <functional>

class QWidget;

namespace platform {
// Runs `handler`, from the event loop, when the window system asks `window` to close while a
// modal window blocks it. Qt drops such a request; under a window manager that lets the user
// press a blocked window's close box (Openbox does) it would go unanswered. Where a blocked
// window cannot be asked to close, the handler never runs.
void OnCloseRequestWhileBlocked(QWidget* window, std::function<void()> handler);
} // namespace platform
