#pragma once

#include <QString>

namespace platform {
// The computer's name: its host name without the domain, in upper case, at most 15
// characters. False when it cannot be read or is empty.
bool GetComputerName(QString& name);
} // namespace platform
