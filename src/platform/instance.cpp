#include "platform/instance_internal.h"

#include <QLockFile>
#include <QMap>
#include <memory>

namespace platform {

namespace {
// Locks stay held for the life of the process.
QMap<QString, std::shared_ptr<QLockFile>>& held() {
    static QMap<QString, std::shared_ptr<QLockFile>> locks;
    return locks;
}
} // namespace

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
