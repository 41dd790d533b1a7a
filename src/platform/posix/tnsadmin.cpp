#include "platform/tnsadmin.h"

namespace platform {
QStringList TnsAdminFolders() {
    return {};
}
} // namespace platform
