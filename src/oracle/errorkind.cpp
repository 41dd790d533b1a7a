#include "oracle/errorkind.h"

#include "oracle/database.h"

namespace ora {

bool MissingPrivilege(const OraError& error) {
    return error.code() == 942 || error.code() == 1031;
}

bool ConnectionLost(const OraError& error) {
    switch (error.code()) {
    case 28:   // your session has been killed
    case 1012: // not logged on
    case 1092: // ORACLE instance terminated. Disconnection forced
    case 3113: // end-of-file on communication channel
    case 3114: // not connected to ORACLE
    case 3135: // connection lost contact
        return true;
    default:
        return false;
    }
}

} // namespace ora
