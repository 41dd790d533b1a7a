#pragma once

#include <QString>

namespace ora {

class OraError;

// The statement that ends one session, e.g. ALTER SYSTEM KILL SESSION '12,345'.
QString KillStatement(const QString& sid, const QString& serial);

// A session belongs to another machine unless its terminal equals this computer's name
// exactly, case included.
bool IsOtherMachine(const QString& terminal, const QString& myMachine);

// ORA-00031: the server accepted the kill and ends the session as soon as it can.
bool KillAccepted(const OraError& error);

} // namespace ora
