#include "platform/paintnow_internal.h"

#include "platform/x11/xcb.h"

namespace platform {
void FlushDrawing() {
    x11::Flush();
}
} // namespace platform
