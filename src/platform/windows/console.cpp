#include "platform/console.h"

#include <cstdio>

#include <windows.h>

namespace platform {
namespace {
bool leadsNowhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}
} // namespace

void ConnectParentConsole() {
    const bool output = leadsNowhere(STD_OUTPUT_HANDLE);
    const bool error = leadsNowhere(STD_ERROR_HANDLE);
    if ((!output && !error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // The C library's streams were set up without a console; open them on it now.
    if (output)
        std::freopen("CONOUT$", "w", stdout);
    if (error)
        std::freopen("CONOUT$", "w", stderr);
}
} // namespace platform
