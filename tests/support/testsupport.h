#pragma once

// Shared set-up for the in-process window tests: message boxes answered through the hook,
// animations taking no time, Japanese fonts mapped.
#include <QStringList>
#include <initializer_list>

namespace testsupport {
void initWindowTests();
// A list of UTF-8 literals, for expected rows.
QStringList strings(std::initializer_list<const char*> utf8);
} // namespace testsupport
