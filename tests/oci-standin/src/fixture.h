#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "src/instance.h"

// Reads the line-based fixture format described in README.md. Returns "line N: problem"
// on the first bad line; `instance` is then incomplete.
std::optional<std::string> parseFixture(std::string_view text, Instance& instance);
