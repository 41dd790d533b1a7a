#pragma once

#include "classic/winrect.h"

class QWidget;

namespace classic {

constexpr int IDANI_CAPTION = 3;

// Plays the caption zoom from one screen rectangle to another and returns when it is over.
// Works whether or not the window is visible yet. Never fails.
void DrawAnimatedRects(const QWidget* window, int kind, const WinRect& from, const WinRect& to);

} // namespace classic
