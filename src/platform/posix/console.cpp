#include "platform/console.h"

namespace platform {
void ConnectParentConsole() {}
} // namespace platform
