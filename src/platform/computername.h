#pragma once

#include <QString>
#include <optional>

namespace platform {
// The computer's name, as Oracle's clients on this system record it in v$session.terminal.
// False when it cannot be read or is empty.
bool GetComputerName(QString& name);

// The name as the system gives it, without the test hook; empty when it cannot be read.
QString SystemComputerName();

// Test hook: while set, GetComputerName answers with this name instead (an empty name fails).
void SetComputerNameForTest(const std::optional<QString>& name);
} // namespace platform
