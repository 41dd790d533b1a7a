#pragma once

#include "platform/computername.h"

#include <optional>

// The system's own part of GetComputerName, and the hook the tests name the computer with.
namespace platform {
// The name as the system gives it, without the test hook; empty when it cannot be read.
QString SystemComputerName();

// Test hook: while set, GetComputerName answers with this name instead (an empty name fails).
void SetComputerNameForTest(const std::optional<QString>& name);
} // namespace platform
