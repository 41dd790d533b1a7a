#pragma once

#include <QString>

namespace platform {

// Whether another copy of the program already runs for this user. The first call takes a
// lock file that is held until the process ends; a copy that crashed or was killed leaves
// a lock that the next start recognises as stale and takes over.
bool AppPrevInstance();

} // namespace platform
