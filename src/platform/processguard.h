#pragma once

namespace platform {
// Keeps the process's memory, which holds the login password, out of core files and crash
// dumps and away from other programs of the same user that would read it (a debugger), as
// far as the system lets a program decide that for itself. Called first thing at start.
void KeepMemoryPrivate();
} // namespace platform
