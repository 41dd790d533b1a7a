#pragma once

class QWidget;

namespace platform {
// Turns the input method editor (a Japanese IME) off for a text box that has just taken the
// focus, as a box meant for plain letters wants; the user may turn it on again in the box.
// Where the system gives a program no say over that state (the input method frameworks of
// Linux keep it per user), nothing changes.
void SwitchInputMethodOff(QWidget* box);
} // namespace platform
