#pragma once

namespace ora {

class OraError;

// The user may not read what the statement names: ORA-00942 (no such table or view, as far
// as this user can see) or ORA-01031 (insufficient privileges).
bool MissingPrivilege(const OraError& error);

// The connection to the server is gone (ORA-03113, ORA-03114 and their kin): every later call
// on it fails as well.
bool ConnectionLost(const OraError& error);

} // namespace ora
