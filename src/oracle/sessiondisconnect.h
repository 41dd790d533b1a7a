#pragma once

#include "oracle/sessionkill.h"

#include <QString>
#include <optional>

namespace ora {

class OraDatabase;

// ALTER SYSTEM DISCONNECT SESSION 'sid,serial#' POST_TRANSACTION: the session's open
// transaction ends as its own work decides, then the session ends. Oracle's grammar gives
// DISCONNECT no instance, so the statement reaches sessions of the connection's instance only.
QString DisconnectStatement(const SessionKey& key);

// Whether the statement reaches the session: a key without an instance names one on the
// connection's instance; with one, it must be that instance (0: not known, so not reachable).
bool DisconnectReaches(const SessionKey& key, qint64 connectedInstance);

// The instance the connection is on, in one round trip; nothing when the server lists no
// session of its own instance.
std::optional<qint64> ReadConnectedInstance(OraDatabase& db);

} // namespace ora
