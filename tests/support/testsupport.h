#pragma once

// Shared set-up for the in-process window tests: message boxes answered through the hook,
// animations taking no time, Japanese fonts mapped.
#include <QStringList>
#include <functional>
#include <initializer_list>

class QDialog;

namespace testsupport {
void initWindowTests();
// A list of UTF-8 literals, for expected rows.
QStringList strings(std::initializer_list<const char*> utf8);
// The texts of the message boxes shown since the hook's log was last cleared.
QStringList messageTexts();
// Calls open(), which shows a modal window; once that window is the active modal one, runs
// the script on it and closes whatever the script leaves open, so that a failed check cannot
// hang the test. A window that never opens fails the test; `what` names it.
void runModal(const std::function<void()>& open, const std::function<void(QDialog&)>& script,
              const char* what);
} // namespace testsupport
