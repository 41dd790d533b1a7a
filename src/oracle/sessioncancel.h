#pragma once

#include "oracle/sessionkill.h"

#include <QString>

namespace ora {

// ALTER SYSTEM CANCEL SQL 'sid, serial#[, @inst_id]': ends the call the session is running
// and keeps the session (Oracle 18c and later).
QString CancelStatement(const SessionKey& key);

} // namespace ora
