#pragma once

#include <QString>
#include <optional>

namespace platform {
// The computer's name: its host name without the domain, in upper case, at most 15
// characters. False when it cannot be read or is empty.
bool GetComputerName(QString& name);

// Test hook: while set, GetComputerName answers with this name instead (an empty name fails).
void SetComputerNameForTest(const std::optional<QString>& name);
} // namespace platform
