#include "oracle/sessionquery.h"

#include <QStringList>

namespace ora {

QString SqlLiteral(const QString& value) {
    QString escaped = value;
    escaped.replace(QStringLiteral("'"), QStringLiteral("''"));
    return QStringLiteral("'") + escaped + QStringLiteral("'");
}

namespace {
// The select list both searches share, up to the logon time.
QStringList SelectPieces() {
    return {
        QStringLiteral("SELECT sid,                "),
        QStringLiteral("       serial#,            "),
        QStringLiteral("       status,             "),
        QStringLiteral("       NVL(terminal, '－'), "),
        QStringLiteral("       NVL(osuser, '－'), "),
        QStringLiteral("       NVL(username, '－'), "),
        QStringLiteral("       NVL(program, '－'),   "),
    };
}

QString Finish(QStringList pieces, const QString& machine, const QString& order) {
    if (!machine.isEmpty())
        pieces << QStringLiteral(" WHERE terminal = ") + SqlLiteral(machine);
    pieces << order;
    return pieces.join(QChar(u'\r'));
}
} // namespace

QString SessionQuery(const QString& machine) {
    // The text is fixed to the space, so that the statement is the same one in the server's
    // shared pool at every search; NVL shows the full-width dash where a session has no value.
    return Finish(SelectPieces() << QStringLiteral("       logon_time   ")
                                 << QStringLiteral("  FROM v$session           "),
                  machine, QStringLiteral(" ORDER BY sid, serial#"));
}

QString AllInstancesQuery(const QString& machine) {
    return Finish(SelectPieces() << QStringLiteral("       logon_time,  ")
                                 << QStringLiteral("       inst_id      ")
                                 << QStringLiteral("  FROM gv$session          "),
                  machine, QStringLiteral(" ORDER BY inst_id, sid, serial#"));
}

QString BlockersQuery(bool cluster) {
    QStringList pieces = SelectPieces();
    if (cluster)
        pieces << QStringLiteral("       logon_time,  ") << QStringLiteral("       inst_id      ")
               << QStringLiteral("  FROM gv$session s        ")
               << QStringLiteral(" WHERE EXISTS (SELECT 1 FROM gv$session b"
                                 " WHERE b.blocking_session = s.sid"
                                 " AND b.blocking_instance = s.inst_id)")
               << QStringLiteral(" ORDER BY NVL2(blocking_session, 1, 0), inst_id, sid, serial#");
    else
        pieces << QStringLiteral("       logon_time   ")
               << QStringLiteral("  FROM v$session s         ")
               << QStringLiteral(" WHERE EXISTS (SELECT 1 FROM v$session b"
                                 " WHERE b.blocking_session = s.sid"
                                 " AND b.blocking_instance = USERENV('INSTANCE'))")
               << QStringLiteral(" ORDER BY NVL2(blocking_session, 1, 0), sid, serial#");
    return pieces.join(QChar(u'\r'));
}

} // namespace ora
