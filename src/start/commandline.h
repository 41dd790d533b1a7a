#pragma once

#include "platform/display.h"

#include <optional>

// Answers the command line before any window exists, so that it works without a display and
// while another copy runs: --help and --version print to standard output; Qt's own options
// (-platform, -display, -style, ...) are left to Qt, and those naming the window system are
// put in target; anything else the program does not take prints the usage to standard error.
// Returns the exit code when the program is to end now (0 after an answer, 2 after a
// refusal), nothing when it is to start.
std::optional<int> HandleCommandLine(int argc, char* argv[], platform::WindowTarget& target);
