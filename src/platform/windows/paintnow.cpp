#include "platform/paintnow_internal.h"

#include <windows.h>

namespace platform {
void FlushDrawing() {
    // Drawing on Windows reaches the screen as it is done, save what GDI batches per thread.
    GdiFlush();
}
} // namespace platform
