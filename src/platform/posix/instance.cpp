#include "platform/instance_internal.h"

#include <QDir>
#include <unistd.h>

namespace platform {
QString DefaultInstanceLockPath() {
    // The runtime directory is the user's own; the shared temporary folder is the fallback.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QDir dir = !runtime.isEmpty() && QDir(runtime).exists() ? QDir(runtime) : QDir::temp();
    return dir.filePath(QStringLiteral("kestrom-%1.lock").arg(::getuid()));
}
} // namespace platform
