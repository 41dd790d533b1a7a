#include "platform/computername_internal.h"

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
    const QString system = SystemComputerName();
    if (system.isEmpty())
        return false;
    name = system;
    return true;
}
} // namespace platform
