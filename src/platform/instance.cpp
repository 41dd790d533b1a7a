#include "platform/instance.h"

#include <QDir>
#include <QLockFile>
#include <QMap>
#include <memory>
#include <unistd.h>

namespace platform {

namespace {
// Locks stay held for the life of the process.
QMap<QString, std::shared_ptr<QLockFile>>& held() {
    static QMap<QString, std::shared_ptr<QLockFile>> locks;
    return locks;
}
} // namespace

QString DefaultInstanceLockPath() {
    // The runtime directory is the user's own; the shared temporary folder is the fallback.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QDir dir = !runtime.isEmpty() && QDir(runtime).exists() ? QDir(runtime) : QDir::temp();
    return dir.filePath(QStringLiteral("kestrom-%1.lock").arg(::getuid()));
}

bool PrevInstanceAt(const QString& lockPath) {
    if (held().contains(lockPath))
        return false;
    auto lock = std::make_shared<QLockFile>(lockPath);
    // 0: a lock is stale only when its owner process is gone, never because of its age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        held().insert(lockPath, lock);
        return false;
    }
    return lock->error() == QLockFile::LockFailedError;
}

bool AppPrevInstance() {
    return PrevInstanceAt(DefaultInstanceLockPath());
}

} // namespace platform
