#include "platform/instance_internal.h"

#include <QDir>

#include <windows.h>

namespace platform {
QString DefaultInstanceLockPath() {
    // The temporary folder is the user's own on Windows (under the profile); the user's name
    // in the file name keeps users apart where an administrator has made it shared.
    wchar_t user[256 + 1] = {};
    DWORD size = 256 + 1;
    const QString name = GetUserNameW(user, &size) && size > 1
                             ? QString::fromWCharArray(user, static_cast<qsizetype>(size - 1))
                             : QStringLiteral("user");
    return QDir::temp().filePath(QStringLiteral("kestrom-%1.lock").arg(name));
}
} // namespace platform
