#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/views.h"

struct User {
    std::string password;
    bool mayReadSessions = false;   // the v$ views
    bool mayReadGlobalViews = true; // the gv$ views too, given mayReadSessions
    bool mayAlterSystem = false;
};

struct Faults {
    std::optional<unsigned long> loseConnectionAfter; // round trips that still succeed
    unsigned slowExecuteMs = 0;
    unsigned slowLogonMs = 0;
    // The call time-out the program sets counts as this many milliseconds (0: as set), so that
    // tests need not sit out the real one.
    unsigned callTimeoutMs = 0;
    bool killMarksOnly = false; // kill answers ORA-00031 (the session goes anyway)
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

using RowPtr = std::shared_ptr<const Row>;

// What the fixture describes: all instances of the database, seen from instance 1.
struct Instance {
    std::vector<std::string> connectStrings;
    bool acceptAnyConnect = false;
    std::map<std::string, User> users; // key: upper-case user name
    // Kept ordered by inst_id, sid, serial#. A changed session is a new row, so open cursors
    // keep the rows they were executed with.
    std::vector<RowPtr> sessions;
    std::vector<CachedStatement> sharedPool; // every instance's, in fixture order
    Faults faults;

    bool accepts(std::string_view connectString) const;
    const User* findUser(std::string_view name) const;
    // Adds `count` plausible sessions spread evenly over instances 1..`instances`, sids on
    // each continuing after that instance's highest one.
    std::optional<std::string> generate(unsigned long count,
                                        std::optional<std::string_view> terminal,
                                        unsigned long instances);
    void sortSessions();
    KillOutcome kill(const SessionId& id, bool immediate);

private:
    sb8 highestSid(sb8 instance) const;
    // The sessions `gone` blocked no longer wait for it.
    void releaseBlockedBy(const Row& gone);
};

std::string upperAscii(std::string_view text);
