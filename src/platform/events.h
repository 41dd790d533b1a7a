#pragma once

namespace platform {
// Lets the pending window events run once, as the windows expect at their fixed points.
void DoEvents();
} // namespace platform
