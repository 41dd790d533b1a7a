#include "sessionquery.h"

#include <QStringList>

namespace ora {

QString SqlLiteral(const QString& value) {
    QString escaped = value;
    escaped.replace(QStringLiteral("'"), QStringLiteral("''"));
    return QStringLiteral("'") + escaped + QStringLiteral("'");
}

QString SessionQuery(const QString& machine) {
    // The text is fixed to the space, so that the statement is the same one in the server's
    // shared pool at every search; NVL shows the full-width dash where a session has no value.
    QStringList pieces{
        QStringLiteral("SELECT sid,                "),
        QStringLiteral("       serial#,            "),
        QStringLiteral("       status,             "),
        QStringLiteral("       NVL(terminal, '－'), "),
        QStringLiteral("       NVL(osuser, '－'), "),
        QStringLiteral("       NVL(username, '－'), "),
        QStringLiteral("       NVL(program, '－'),   "),
        QStringLiteral("       logon_time   "),
        QStringLiteral("  FROM v$session           "),
    };
    if (!machine.isEmpty())
        pieces << QStringLiteral(" WHERE terminal = ") + SqlLiteral(machine);
    pieces << QStringLiteral(" ORDER BY sid, serial#");
    return pieces.join(QChar(u'\r'));
}

} // namespace ora
