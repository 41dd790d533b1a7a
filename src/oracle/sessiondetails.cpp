#include "sessiondetails.h"

#include <QStringList>

namespace ora {

QString SessionDetailsQuery(const SessionKey& key) {
    const bool cluster = key.instance > 0;
    const QString v = cluster ? QStringLiteral("gv$") : QStringLiteral("v$");
    // The numbers come from a validated key, never from text the user typed.
    QString where =
        QStringLiteral(" WHERE s.sid = %1 AND s.serial# = %2").arg(key.sid).arg(key.serial);
    if (cluster)
        where += QStringLiteral(" AND s.inst_id = %1").arg(key.instance);
    const QStringList lines{
        QStringLiteral("SELECT s.machine, s.module, s.action, s.client_info, s.process, s.server,"),
        QStringLiteral("       (SELECT q.sql_text FROM %1sql q WHERE q.sql_id = s.sql_id%2"
                       " AND ROWNUM = 1),")
            .arg(v, cluster ? QStringLiteral(" AND q.inst_id = s.inst_id") : QString()),
        QStringLiteral("       s.event, s.seconds_in_wait, s.last_call_et, s.status,"),
        QStringLiteral("       s.blocking_session, s.blocking_instance,"),
        QStringLiteral(
            "       (SELECT COUNT(*) FROM %1session b WHERE b.blocking_session = s.sid%2)")
            .arg(v, cluster ? QStringLiteral(" AND b.blocking_instance = s.inst_id") : QString()),
        QStringLiteral("  FROM %1session s").arg(v) + where,
    };
    return lines.join(QChar(u'\r'));
}

} // namespace ora
