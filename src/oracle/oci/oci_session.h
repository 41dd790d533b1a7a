#pragma once

#include "oracle/database.h"

namespace ora {
// A session object that reaches Oracle through the Oracle client library, loaded on first use.
std::unique_ptr<OraSession> CreateOciSession();
} // namespace ora
