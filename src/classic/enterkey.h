#pragma once

class QAbstractButton;

namespace classic {
// Enter (either key) on the focused button presses it, as on the desktop the windows were
// designed for; Space presses it as before. A held key does not press it again.
void EnterPressesButton(QAbstractButton* button);
} // namespace classic
