#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oci_api.h"
#include "src/views.h"

struct User {
    std::string password;
    bool mayReadSessions = false;   // the v$ views
    bool mayReadGlobalViews = true; // the gv$ views too, given mayReadSessions
    // v$transaction, v$session_longops and dba_objects too, given mayReadSessions
    bool mayReadCatalog = true;
    bool mayAlterSystem = false;
    // The administrative privileges it may log on with, as OCISessionBegin modes.
    ub4 adminModes = 0;
    // External credentials (the user ID "/") log on as this account.
    bool external = false;
};

struct Faults {
    std::optional<unsigned long> loseConnectionAfter; // round trips that still succeed
    unsigned slowExecuteMs = 0;
    unsigned slowLogonMs = 0;
    // The call time-out the program sets counts as this many milliseconds (0: as set), so that
    // tests need not sit out the real one.
    unsigned callTimeoutMs = 0;
    bool killMarksOnly = false; // kill answers ORA-00031 (the session goes anyway)
    // What cancelling the statement of a session that runs none answers; 0: success.
    sb4 cancelIdleCode = 0;
    std::string cancelIdleMessage;
    unsigned breakBlocksMs = 0; // OCIBreak waits that long before it reaches the server
    bool breakIgnored = false;  // a break never ends a call
    // A break that ended no call stays on the connection and fails its next call with
    // ORA-01013, until OCIReset.
    bool idleBreakLingers = false;
    // A kill or cancel is carried out, then its answer is lost with the connection (ORA-03113).
    bool loseAnswer = false;
};

// The session a kill names: '<sid>,<serial#>[,@<instance>]'.
struct SessionId {
    sb8 sid = 0;
    sb8 serial = 0;
    sb8 instance = kLocalInstance;
};

enum class KillOutcome : unsigned char {
    NoSuchSession,
    Marked, // a stubborn session, now KILLED and still there
    Ended,
};

enum class CancelOutcome : unsigned char {
    NoSuchSession,
    Idle, // no call in progress: nothing to cancel
    Cancelled,
};

using RowPtr = std::shared_ptr<const Row>;

// What the fixture describes: all instances of the database, seen from instance 1.
struct Instance {
    std::vector<std::string> connectStrings;
    bool acceptAnyConnect = false;
    bool acceptLocal = false;          // the empty connect string: the database on this machine
    std::map<std::string, User> users; // key: upper-case user name
    // Kept ordered by inst_id, sid, serial#. A changed session is a new row, so open cursors
    // keep the rows they were executed with.
    std::vector<RowPtr> sessions;
    std::vector<CachedStatement> sharedPool; // every instance's, in fixture order
    std::vector<TableRow> tables; // transactions, objects and long operations, in fixture order
    Faults faults;

    bool accepts(std::string_view connectString) const;
    const User* findUser(std::string_view name) const;
    // The account external credentials log on as, if any.
    const User* externalUser() const;
    // Adds `count` plausible sessions spread evenly over instances 1..`instances`, sids on
    // each continuing after that instance's highest one.
    std::optional<std::string> generate(unsigned long count,
                                        std::optional<std::string_view> terminal,
                                        unsigned long instances);
    void sortSessions();
    KillOutcome kill(const SessionId& id, bool immediate);
    // Ends a session of instance 1; after its transaction when asked to: a session with an
    // open transaction is then only marked, KILLED and still there.
    KillOutcome disconnect(const SessionId& id, bool postTransaction);
    // Ends the call an ACTIVE session is running; the session stays, now INACTIVE and no
    // longer waiting for a blocker.
    CancelOutcome cancel(const SessionId& id);
    // Sets every session's final blocker: the end of the chain of blockers it waits behind.
    void updateFinalBlockers();

private:
    sb8 highestSid(sb8 instance) const;
    // The sessions `gone` blocked no longer wait for it.
    void releaseBlockedBy(const Row& gone);
};

std::string upperAscii(std::string_view text);
