#pragma once

#include <QString>
#include <optional>

namespace ora {

class OraError;

// The statement that ends one session, e.g. ALTER SYSTEM KILL SESSION '12,345'.
QString KillStatement(const QString& sid, const QString& serial);

// Which session a statement names: sid and serial#, and the instance when the list covers
// every instance of a cluster (0 otherwise).
struct SessionKey {
    qint64 sid = 0;
    qint64 serial = 0;
    qint64 instance = 0;
    friend bool operator==(const SessionKey&, const SessionKey&) = default;
};

// Whether two keys read on one connection name the same session. A key without an instance
// names the session on the instance the connection is on, so the same session has the same
// identity whichever list it was read from.
bool SameSession(const SessionKey& a, const SessionKey& b, qint64 connectedInstance);

// The key from a grid row's texts, or nothing when they are not plain positive numbers: the
// texts go into statements, so nothing else may pass. An empty instance text means none.
std::optional<SessionKey> ParseSessionKey(const QString& sid, const QString& serial,
                                          const QString& instance = QString());

// What the user reads when a row's texts are not a session key.
QString NotASessionKeyText();

// ALTER SYSTEM KILL SESSION 'sid,serial#[,@inst_id]' [IMMEDIATE].
QString KillStatement(const SessionKey& key, bool immediate);

// A session belongs to another machine unless its terminal equals this computer's name
// exactly, case included.
bool IsOtherMachine(const QString& terminal, const QString& myMachine);

// ORA-00031: the server accepted the kill and ends the session as soon as it can.
bool KillAccepted(const OraError& error);

} // namespace ora
