#pragma once

#include <QStringList>

namespace platform {
// The folders the system's own settings name for the Oracle client's network files, in the
// order the client tries them: on Windows the TNS_ADMIN values of the Oracle keys in the
// registry (the one for all homes, then each home's); none elsewhere, where only the
// environment names them.
QStringList TnsAdminFolders();
} // namespace platform
