#pragma once

#include "oracle/database.h"

#include <QDateTime>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// An in-process stand-in for the database access interface, for the window tests. It keeps
// a list of sessions, answers the session query by filtering on the quoted terminal, runs
// kills, records every statement, and fails on demand.
namespace fakeoracle {

struct Session {
    QVariant sid, serial, status, terminal, osuser, username, program, logonTime;
};

struct Instance {
    QString user = QStringLiteral("system");
    QString password = QStringLiteral("pelmora");
    QString host = QStringLiteral("ORCL");
    bool mayRead = true;
    bool mayKill = true;
    std::vector<Session> sessions;
    QStringList statements; // every statement received
    QStringList logons;     // user@host of every successful logon
    // Counted on the calls' thread, read by the test while a logoff may run in the background.
    std::atomic<int> closes = 0;
    // Every call on an open database fails with ORA-03113; may be changed while a logoff runs.
    std::atomic<bool> connectionLost = false;
    std::atomic<bool> failClose = false; // Close fails (after marking the database closed)
    int killAnswer = 0; // an ORA code the next kill fails with (31: marked for kill)
    // Fetching the query's rows fails (ORA-01555) on moving to this row (-1: never).
    int failFromRow = -1;
    // Runs inside every statement (on the thread making the calls), as the user acting while
    // the call runs.
    std::function<void()> duringCall;
    // Every statement takes this long on the server; a break ends it with ORA-01013. With
    // timeOut set, it ends after that long with ORA-03156 instead (the call time-out).
    int callMs = 0;
    int timeOutMs = 0;
    // A break that never reaches the server: the call runs to its end.
    bool breakIgnored = false;
    // The next kill is carried out, then its answer is lost with the connection (ORA-03113).
    bool loseKillAnswer = false;
    // A logon takes this long, whatever happens meanwhile.
    int logonMs = 0;
};

// Installs a factory that opens databases of this instance; the returned pointer stays valid
// until reset() is called.
std::shared_ptr<Instance> install();
void reset();

Session makeSession(int sid, int serial, const QString& terminal,
                    const QString& status = QStringLiteral("INACTIVE"));

} // namespace fakeoracle
