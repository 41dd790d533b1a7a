#pragma once

namespace ora {

class OraError;

// The user may not read what the statement names: ORA-00942 (no such table or view, as far
// as this user can see) or ORA-01031 (insufficient privileges).
bool MissingPrivilege(const OraError& error);

// The connection to the server is gone (ORA-03113, ORA-03114 and their kin): every later call
// on it fails as well.
// Given-up connections count as lost.
bool ConnectionLost(const OraError& error);

// The statement may have reached the server, but its answer did not come back: the call was
// broken off (ORA-01013), timed out (ORA-03156) or its connection was lost. What it was to do
// may have been done, or not.
bool AnswerLost(const OraError& error);

} // namespace ora
