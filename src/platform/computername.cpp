#include "computername.h"

#include <QSysInfo>

namespace platform {
bool GetComputerName(QString& name) {
    // The computer's name as the classic call gives it: the host's own name without its
    // domain, in upper case, at most 15 characters.
    const QString host = QSysInfo::machineHostName().section(QChar(u'.'), 0, 0);
    if (host.isEmpty())
        return false;
    name = host.left(15).toUpper();
    return true;
}
} // namespace platform
