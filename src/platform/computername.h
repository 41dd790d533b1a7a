#pragma once

#include <QString>

namespace platform {
// The computer's name, as Oracle's clients on this system record it in v$session.terminal.
// False when it cannot be read or is empty.
bool GetComputerName(QString& name);
} // namespace platform
