#pragma once

#include "platform/paintnow.h"

// The window system's own part of PaintNow.
namespace platform {
// Sends what has been drawn to the display now, where the window system queues drawing.
void FlushDrawing();
} // namespace platform
