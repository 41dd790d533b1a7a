#include "oracle/sessiondetails.h"

#include <QStringList>
#include <algorithm>

namespace ora {
namespace {

bool Present(const QList<QVariant>& values, int column) {
    const QVariant v = values.value(column);
    return v.isValid() && !v.isNull();
}

qint64 Number(const QList<QVariant>& values, int column) {
    return values.value(column).toString().toLongLong();
}

QString RowWaitText(const QList<QVariant>& values) {
    // The row columns keep the last row waited on after the wait ended: only a row lock wait
    // names the row the session waits on now.
    const bool rowLock = values.value(dcEvent).toString().startsWith(QStringLiteral("enq: TX")) &&
                         Present(values, dcRowWaitObject) && Number(values, dcRowWaitObject) >= 0;
    if (!rowLock)
        return QStringLiteral("なし");
    const QString object =
        Present(values, dcObjectOwner) && Present(values, dcObjectName)
            ? values.value(dcObjectOwner).toString() + u'.' + values.value(dcObjectName).toString()
            : QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ番号 %1").arg(Number(values, dcRowWaitObject));
    return QStringLiteral("%1（ファイル %2、ブロック %3、行 %4）")
        .arg(object)
        .arg(Number(values, dcRowWaitFile))
        .arg(Number(values, dcRowWaitBlock))
        .arg(Number(values, dcRowWaitRow));
}

QString TransactionText(const QList<QVariant>& values) {
    if (values.size() <= dcUndoRecords)
        return QStringLiteral("－");
    if (!Present(values, dcTransactionStart) && !Present(values, dcUndoBlocks))
        return QStringLiteral("なし");
    return QStringLiteral("%1 開始、UNDO %2 ブロック／%3 レコード\n"
                          "切断するとロールバックされ、UNDOの量に比例して時間がかかります。")
        .arg(Present(values, dcTransactionStart) ? values.value(dcTransactionStart).toString()
                                                 : QStringLiteral("－"))
        .arg(Number(values, dcUndoBlocks))
        .arg(Number(values, dcUndoRecords));
}

QString OperationText(const QList<QVariant>& values) {
    if (values.size() <= dcOperationSecondsLeft)
        return QStringLiteral("－");
    if (!Present(values, dcOperation))
        return QStringLiteral("なし");
    const qint64 total = Number(values, dcOperationTotal);
    QString shown =
        values.value(dcOperation).toString() +
        QStringLiteral("（%1%").arg(total > 0 ? Number(values, dcOperationDone) * 100 / total : 0);
    if (Present(values, dcOperationSecondsLeft))
        shown += QStringLiteral("、残り %1").arg(Duration(Number(values, dcOperationSecondsLeft)));
    return shown + QStringLiteral("）");
}

} // namespace

QString SessionDetailsQuery(const SessionKey& key, bool catalog) {
    const bool cluster = key.instance > 0;
    const QString v = cluster ? QStringLiteral("gv$") : QStringLiteral("v$");
    // The numbers come from a validated key, never from text the user typed.
    QString where =
        QStringLiteral(" WHERE s.sid = %1 AND s.serial# = %2").arg(key.sid).arg(key.serial);
    if (cluster)
        where += QStringLiteral(" AND s.inst_id = %1").arg(key.instance);
    QStringList lines{
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
        QStringLiteral("       s.final_blocking_session, s.final_blocking_instance,"),
    };
    lines << QStringLiteral("       s.row_wait_obj#, s.row_wait_file#, s.row_wait_block#,"
                            " s.row_wait_row#,");
    // object_id is the key of the object views: one row at most.
    const QString objects = catalog ? QStringLiteral("dba_objects") : QStringLiteral("all_objects");
    for (const QString& column : {QStringLiteral("owner"), QStringLiteral("object_name")})
        lines << QStringLiteral(
                     "       (SELECT o.%1 FROM %2 o WHERE o.object_id = s.row_wait_obj#),")
                     .arg(column, objects);
    if (catalog) {
        auto sameInstance = [cluster](QChar alias) {
            return cluster ? QStringLiteral(" AND %1.inst_id = s.inst_id").arg(alias) : QString();
        };
        // A session has one transaction at most.
        for (const QString& column : {QStringLiteral("start_time"), QStringLiteral("used_ublk"),
                                      QStringLiteral("used_urec")})
            lines << QStringLiteral(
                         "       (SELECT t.%1 FROM %2transaction t WHERE t.addr = s.taddr%3),")
                         .arg(column, v, sameInstance(u't'));
        // Of the operations still in progress, the one that started first.
        for (const QString& column :
             {QStringLiteral("opname"), QStringLiteral("sofar"), QStringLiteral("totalwork"),
              QStringLiteral("time_remaining")})
            lines << QStringLiteral(
                         "       (SELECT MAX(l.%1) KEEP (DENSE_RANK FIRST ORDER BY l.start_time)"
                         " FROM %2session_longops l WHERE l.sid = s.sid"
                         " AND l.serial# = s.serial#%3 AND l.sofar < l.totalwork),")
                         .arg(column, v, sameInstance(u'l'));
    }
    lines.last().chop(1); // the last item's comma
    lines << QStringLiteral("  FROM %1session s").arg(v) + where;
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
    auto present = [&](int column) { return Present(values, column); };
    auto number = [&](int column) { return Number(values, column); };

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
    out.fields.append({QStringLiteral("待機中の行"), RowWaitText(values)});
    out.fields.append({QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝ"), TransactionText(values)});
    out.fields.append({QStringLiteral("長時間操作"), OperationText(values)});
    out.sqlText = present(dcSqlText) ? text(dcSqlText) : QStringLiteral("なし");
    // The pool keeps the first 1000 bytes, cut at a character boundary, so a cut text holds at
    // least 997 of them. (In a database character set other than AL32UTF8 the bytes differ;
    // a whole statement near the limit may then be taken for a cut one.)
    out.sqlCut = present(dcSqlText) && out.sqlText.toUtf8().size() >= 1000 - 3;
    return out;
}

} // namespace ora
