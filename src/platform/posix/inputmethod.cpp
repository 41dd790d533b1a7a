#include "platform/inputmethod.h"

namespace platform {
void SwitchInputMethodOff(QWidget*) {
    // IBus and Fcitx keep whether composition is on per user, not per text box.
}
} // namespace platform
