#include "oracle/sessiondetails.h"

#include <QStringList>
#include <algorithm>

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
            "       (SELECT COUNT(*) FROM %1session b WHERE b.blocking_session = s.sid%2),")
            .arg(v, cluster ? QStringLiteral(" AND b.blocking_instance = s.inst_id")
                            : QStringLiteral(" AND b.blocking_instance = USERENV('INSTANCE')")),
        QStringLiteral("       USERENV('INSTANCE'),"),
        QStringLiteral("       s.final_blocking_session, s.final_blocking_instance"),
        QStringLiteral("  FROM %1session s").arg(v) + where,
    };
    return lines.join(QChar(u'\r'));
}

QString Duration(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

DetailsTexts SessionDetailsTexts(const QList<QVariant>& values, int instance) {
    auto text = [&](int column) {
        const QVariant v = values.value(column);
        return !v.isValid() || v.isNull() ? QStringLiteral("－") : v.toString();
    };
    auto present = [&](int column) {
        const QVariant v = values.value(column);
        return v.isValid() && !v.isNull();
    };
    auto number = [&](int column) { return values.value(column).toString().toLongLong(); };

    DetailsTexts out;
    if (instance > 0)
        out.fields.append({QStringLiteral("ｲﾝｽﾀﾝｽ"), QString::number(instance)});
    out.fields << QList<QPair<QString, QString>>{
        {QStringLiteral("マシン名"), text(dcMachine)},
        {QStringLiteral("モジュール"), text(dcModule)},
        {QStringLiteral("アクション"), text(dcAction)},
        {QStringLiteral("クライアント情報"), text(dcClientInfo)},
        {QStringLiteral("OSプロセス"), text(dcProcess)},
        {QStringLiteral("サーバー"), text(dcServer)},
    };
    QString wait = text(dcEvent);
    if (present(dcEvent) && present(dcSecondsInWait))
        wait += QStringLiteral("（%1 秒）").arg(number(dcSecondsInWait));
    out.fields.append({QStringLiteral("待機イベント"), wait});
    QString call = text(dcStatus);
    if (present(dcLastCallEt)) {
        const bool active = values.value(dcStatus).toString() == QStringLiteral("ACTIVE");
        call += QStringLiteral("（%1 %2）")
                    .arg(active ? QStringLiteral("実行中") : QStringLiteral("アイドル"),
                         Duration(number(dcLastCallEt)));
    }
    out.fields.append({QStringLiteral("状態"), call});
    auto session = [&](int sid, int node) {
        if (!present(sid))
            return QStringLiteral("なし");
        QString shown = text(sid);
        if (present(node))
            shown += QStringLiteral("（インスタンス %1）").arg(text(node));
        return shown;
    };
    out.fields.append(
        {QStringLiteral("ブロック元ｾｯｼｮﾝ"), session(dcBlockingSession, dcBlockingInstance)});
    out.fields.append({QStringLiteral("最終ブロック元ｾｯｼｮﾝ"),
                       session(dcFinalBlockingSession, dcFinalBlockingInstance)});
    const int rootSid =
        present(dcFinalBlockingSession) ? dcFinalBlockingSession : dcBlockingSession;
    const int rootNode =
        rootSid == dcFinalBlockingSession ? dcFinalBlockingInstance : dcBlockingInstance;
    if (present(rootSid))
        out.root = BlockerRef{number(rootSid), present(rootNode) ? number(rootNode) : 0};
    out.fields.append({QStringLiteral("ブロック中のｾｯｼｮﾝ数"),
                       present(dcBlockedCount) ? text(dcBlockedCount) : QStringLiteral("0")});
    out.sqlText = present(dcSqlText) ? text(dcSqlText) : QStringLiteral("なし");
    // The pool keeps the first 1000 bytes, cut at a character boundary, so a cut text holds at
    // least 997 of them. (In a database character set other than AL32UTF8 the bytes differ;
    // a whole statement near the limit may then be taken for a cut one.)
    out.sqlCut = present(dcSqlText) && out.sqlText.toUtf8().size() >= 1000 - 3;
    return out;
}

} // namespace ora
