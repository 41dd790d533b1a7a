#include "computername.h"

#include <QSysInfo>

namespace platform {
bool GetComputerName(QString& name) {
    const QString host = QSysInfo::machineHostName();
    if (host.isEmpty())
        return false;
    name = host;
    return true;
}
} // namespace platform
