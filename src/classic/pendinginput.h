#pragma once

#include <QEvent>

namespace classic {

// Keys, clicks and the other input a user gives a window.
bool IsInputEvent(QEvent::Type type);

// Throws away the keyboard and mouse input that is waiting to be handled. The other pending
// events (painting, timers, a close request from the window manager) run as they would.
void DiscardPendingInput();

} // namespace classic
