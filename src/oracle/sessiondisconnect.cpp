#include "oracle/sessiondisconnect.h"

#include "oracle/database.h"

namespace ora {

QString DisconnectStatement(const SessionKey& key) {
    // The numbers come from a validated key.
    return QStringLiteral("ALTER SYSTEM DISCONNECT SESSION '%1,%2' POST_TRANSACTION")
        .arg(key.sid)
        .arg(key.serial);
}

bool DisconnectReaches(const SessionKey& key, qint64 connectedInstance) {
    return key.instance == 0 || (connectedInstance > 0 && key.instance == connectedInstance);
}

std::optional<qint64> ReadConnectedInstance(OraDatabase& db) {
    // Every row holds the same value; the first one, brought with the execute, is enough.
    const std::unique_ptr<OraDynaset> rows =
        db.DbCreateDynaset(QStringLiteral("SELECT USERENV('INSTANCE') FROM v$session"), 0);
    if (rows->isEOF() || rows->fieldsCount() < 1)
        return std::nullopt;
    bool ok = false;
    const qint64 instance = rows->Fields(0).value().toString().toLongLong(&ok);
    if (!ok || instance <= 0)
        return std::nullopt;
    return instance;
}

} // namespace ora
