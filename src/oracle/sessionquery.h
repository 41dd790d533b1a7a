#pragma once

#include <QString>

namespace ora {

// Result columns of both session queries, in order; the instance only in the cluster-wide one.
enum ResultColumn : int {
    rcNone = -1,
    rcSid,
    rcSerial,
    rcStatus,
    rcTerminal,
    rcOsUser,
    rcUsername,
    rcProgram,
    rcLogonTime,
    rcInstance,
};

// The v$session query for one terminal, ordered by sid and serial#. An empty machine name
// lists every session. Lines are joined with CR alone.
QString SessionQuery(const QString& machine);

// The same for every instance of a cluster: gv$session, with the instance number as a last
// column, ordered by instance first.
QString AllInstancesQuery(const QString& machine);

// The sessions, from every machine, that block at least one other session, in the columns of
// SessionQuery (with the instance last when `cluster`: gv$session, a blocked session matched
// by its blocker's instance too). Without `cluster` only what waits on the connection's own
// instance for a session of that instance counts: a sid alone names another session on each
// instance. Root blockers, which wait for nobody, come first.
QString BlockersQuery(bool cluster);

// The text of an SQL string literal, quotes included; a quote inside is doubled so that the
// value is matched exactly as typed.
QString SqlLiteral(const QString& value);

} // namespace ora
