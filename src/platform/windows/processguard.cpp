#include "platform/processguard.h"

namespace platform {
void KeepMemoryPrivate() {
    // Windows writes no core files. What Windows Error Reporting collects after a crash is
    // set by the machine's policy, and a program can only leave it by writing itself into the
    // registry, which Kestrom does not do; a debugger needs the user's own rights either way.
}
} // namespace platform
