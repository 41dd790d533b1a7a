#include "platform/computername_internal.h"

#include <windows.h>

namespace platform {
QString SystemComputerName() {
    // The NetBIOS name, which Oracle's Windows client writes into TERMINAL.
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(buffer, &size))
        return QString();
    return QString::fromWCharArray(buffer, static_cast<qsizetype>(size));
}
} // namespace platform
