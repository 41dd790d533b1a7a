#include "oracle/errorkind.h"

#include "oracle/connection.h"
#include "oracle/database.h"

namespace ora {

bool MissingPrivilege(const OraError& error) {
    return error.code() == 942 || error.code() == 1031;
}

bool ConnectionLost(const OraError& error) {
    // Given up by the user: as lost as a connection can be.
    if (dynamic_cast<const ConnectionGivenUp*>(&error))
        return true;
    switch (error.code()) {
    case 28:    // your session has been killed
    case 1012:  // not logged on
    case 1092:  // ORACLE instance terminated. Disconnection forced
    case 3113:  // end-of-file on communication channel
    case 3114:  // not connected to ORACLE
    case 3135:  // connection lost contact
    case 3136:  // inbound connection timed out
    case 12161: // TNS: internal error: partial data received
    case 12537: // TNS: connection closed
    case 12547: // TNS: lost contact
    case 12570: // TNS: packet reader failure
    case 12571: // TNS: packet writer failure
        return true;
    default:
        return false;
    }
}

bool AnswerLost(const OraError& error) {
    if (dynamic_cast<const CallNotSent*>(&error))
        return false;
    // The break and the call time-out end the wait for the answer, not the statement.
    return error.code() == 1013 || error.code() == 3156 || ConnectionLost(error);
}

} // namespace ora
