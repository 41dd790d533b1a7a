#include "platform/computername_internal.h"

#include <QSysInfo>

namespace platform {
QString SystemComputerName() {
    // The computer's name as the classic call gives it: the host's own name without its
    // domain, in upper case, at most 15 characters.
    const QString host = QSysInfo::machineHostName().section(QChar(u'.'), 0, 0);
    return host.left(15).toUpper();
}
} // namespace platform
