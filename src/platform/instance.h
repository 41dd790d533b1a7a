#pragma once

#include <QString>

namespace platform {

// Whether another copy of the program already runs for this user. The first call takes a
// lock file that is held until the process ends; a copy that crashed or was killed leaves
// a lock that the next start recognises as stale and takes over.
bool AppPrevInstance();

// The same check on a lock file of the caller's choosing (tests use their own).
bool PrevInstanceAt(const QString& lockPath);

// The lock file the program uses: one per user, in a folder of the user's own.
QString DefaultInstanceLockPath();

} // namespace platform
