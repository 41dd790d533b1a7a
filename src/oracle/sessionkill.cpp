#include "sessionkill.h"

#include "database.h"

namespace ora {

QString KillStatement(const QString& sid, const QString& serial) {
    return QStringLiteral("ALTER SYSTEM KILL SESSION '") + sid + QChar(u',') + serial +
           QChar(u'\'');
}

bool IsOtherMachine(const QString& terminal, const QString& myMachine) {
    return terminal != myMachine;
}

bool KillAccepted(const OraError& error) {
    return error.code() == 31;
}

} // namespace ora
