#include "platform/processguard.h"

#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace platform {
void KeepMemoryPrivate() {
#ifdef __linux__
    // Not dumpable: no core file whatever the system's core pattern, no crash handler's dump,
    // and /proc/<pid>/mem and ptrace closed to the user's other programs.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
    // Elsewhere at least no core file.
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
}
} // namespace platform
