#pragma once

#include "platform/instance.h"

#include <QString>

// The system's own part of AppPrevInstance, and the check on a lock file the tests choose.
namespace platform {
// The same check on a lock file of the caller's choosing (tests use their own).
bool PrevInstanceAt(const QString& lockPath);

// The lock file the program uses: one per user, in a folder of the user's own.
QString DefaultInstanceLockPath();
} // namespace platform
