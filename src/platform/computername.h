#pragma once

#include <QString>

namespace platform {
// The computer's name (its host name). False when it cannot be read or is empty.
bool GetComputerName(QString& name);
} // namespace platform
