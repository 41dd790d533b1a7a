#include "platform/computername.h"

#include <QSysInfo>

namespace platform {
namespace {
std::optional<QString>& testName() {
    static std::optional<QString> name;
    return name;
}
} // namespace

void SetComputerNameForTest(const std::optional<QString>& name) {
    testName() = name;
}

bool GetComputerName(QString& name) {
    if (testName()) {
        if (testName()->isEmpty())
            return false;
        name = *testName();
        return true;
    }
    // The computer's name as the classic call gives it: the host's own name without its
    // domain, in upper case, at most 15 characters.
    const QString host = QSysInfo::machineHostName().section(QChar(u'.'), 0, 0);
    if (host.isEmpty())
        return false;
    name = host.left(15).toUpper();
    return true;
}
} // namespace platform
