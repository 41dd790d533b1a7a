#pragma once

// Shared set-up for the in-process window tests: message boxes answered through the hook,
// animations taking no time, Japanese fonts mapped.
namespace testsupport {
void initWindowTests();
} // namespace testsupport
