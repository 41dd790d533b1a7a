#pragma once

#include "oracle/database.h"
#include "oracle/sessiondetails.h"
#include "oracle/sessionkill.h"
#include "oracle/sessionquery.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// The round trips the session console makes, each from the statement to what the window
// shows. They touch no window, so they can run on the connection's own thread.
namespace ora {

// One listed session: the texts of the query's result columns (rcSid .. rcInstance).
using SessionCells = std::array<QString, rcInstance + 1>;

struct SessionList {
    // The sessions that can be shown, in the server's order.
    std::vector<SessionCells> rows;
    // Sessions left out because a cell cannot be shown (a NULL sid, serial#, status or logon
    // time), and why the last of them could not.
    int skipped = 0;
    QString skipReason;
    // Reading the result failed after `rows` had been read; they stay valid.
    std::optional<OraError> failure;
};

// Lists the sessions of one machine (every session for an empty name), from gv$session with
// the instance when `cluster`. Throws OraError when the query itself fails.
SessionList ListSessions(OraDatabase& db, const QString& machine, bool cluster);

// How a kill ended. Unknown: the call was broken off or timed out before the server
// answered, so the server may still end the session, or may not have.
enum class KillOutcome { Ended, Unknown };
struct KillResult {
    KillOutcome outcome = KillOutcome::Ended;
    std::optional<OraError> detail; // Oracle's text when the outcome is unknown
};

// Ends one session. "Marked for kill" counts as ended (the server ends it as soon as it can);
// any other refusal throws OraError.
KillResult KillSession(OraDatabase& db, const SessionKey& key, bool immediate);

// The details of one session in one round trip, and the instance the connection is on (0 when
// not known), or nothing when the session no longer exists.
struct DetailsRead {
    DetailsTexts texts;
    qint64 connectedInstance = 0;
};
std::optional<DetailsRead> ReadDetails(OraDatabase& db, const SessionKey& key);

// A call ended by the user (ORA-01013) or by the call time-out (ORA-03156).
bool CallInterrupted(const OraError& error);

} // namespace ora
