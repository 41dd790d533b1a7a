#include "oracle/database.h"
#include "oracle/failuretext.h"
#include "oracle/sessioncancel.h"
#include "oracle/sessiondetails.h"
#include "oracle/sessionkill.h"
#include "oracle/sessionquery.h"
#include "oracle/sessionrow.h"

#include <QDateTime>
#include <QTest>

// The texts the program sends to the server and shows from its answers.
class TestStatements : public QObject {
    Q_OBJECT

    static QStringList pieces(const QString& statement) { return statement.split(QChar(u'\r')); }

private Q_SLOTS:
    void sessionQueryPieceByPiece() {
        const QStringList p = pieces(ora::SessionQuery(QStringLiteral("PC01")));
        const QStringList expected{
            QStringLiteral("SELECT sid,                "),
            QStringLiteral("       serial#,            "),
            QStringLiteral("       status,             "),
            QStringLiteral("       NVL(terminal, '－'), "),
            QStringLiteral("       NVL(osuser, '－'), "),
            QStringLiteral("       NVL(username, '－'), "),
            QStringLiteral("       NVL(program, '－'),   "),
            QStringLiteral("       logon_time   "),
            QStringLiteral("  FROM v$session           "),
            QStringLiteral(" WHERE terminal = 'PC01'"),
            QStringLiteral(" ORDER BY sid, serial#"),
        };
        // Split on CR alone: a LF anywhere would show in a piece.
        QCOMPARE(p, expected);
    }

    void emptyMachineListsEverySession() {
        const QStringList p = pieces(ora::SessionQuery(QString()));
        QCOMPARE(p.size(), 10);
        QCOMPARE(p.last(), QStringLiteral(" ORDER BY sid, serial#"));
        QCOMPARE(p[8], QStringLiteral("  FROM v$session           "));
    }

    void quotesInTheMachineNameAreDoubled() {
        QCOMPARE(pieces(ora::SessionQuery(QStringLiteral("O'HARA")))[9],
                 QStringLiteral(" WHERE terminal = 'O''HARA'"));
        QCOMPARE(pieces(ora::SessionQuery(QStringLiteral("'; DROP")))[9],
                 QStringLiteral(" WHERE terminal = '''; DROP'"));
        QCOMPARE(ora::SqlLiteral(QStringLiteral("''")), QStringLiteral("''''''"));
    }

    void logonTimeFormat() {
        QCOMPARE(ora::LogonTimeText(QDateTime(QDate(2001, 3, 5), QTime(9, 5, 7))),
                 QStringLiteral("2001/03/05 9:05:07"));
        QCOMPARE(ora::LogonTimeText(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 0))),
                 QStringLiteral("2026/12/31 23:59:00"));
        QCOMPARE(ora::LogonTimeText(QDateTime(QDate(2026, 1, 2), QTime(0, 0, 0))),
                 QStringLiteral("2026/01/02 0:00:00"));
        QCOMPARE(ora::LogonTimeText(QString()), QStringLiteral("－"));
        QCOMPARE(ora::LogonTimeText(QStringLiteral("2001-03-05T09:05:07")),
                 QStringLiteral("2001/03/05 9:05:07"));
    }

    void nullCannotBeShownAsText() {
        QVERIFY_THROWS_EXCEPTION(ora::OraError, ora::FieldText(QVariant()));
        QVERIFY_THROWS_EXCEPTION(ora::OraError, ora::LogonTimeText(QVariant()));
        QCOMPARE(ora::FieldText(QStringLiteral("端末")), QStringLiteral("端末"));
        QCOMPARE(ora::FieldText(QString()), QString());
    }

    void killStatementAndConfirmationRule() {
        QCOMPARE(ora::KillStatement(QStringLiteral("12"), QStringLiteral("345")),
                 QStringLiteral("ALTER SYSTEM KILL SESSION '12,345'"));
        QVERIFY(!ora::IsOtherMachine(QStringLiteral("PC01"), QStringLiteral("PC01")));
        QVERIFY(ora::IsOtherMachine(QStringLiteral("pc01"), QStringLiteral("PC01")));
        QVERIFY(ora::IsOtherMachine(QStringLiteral("－"), QStringLiteral("PC01")));
        QVERIFY(ora::KillAccepted(
            ora::OraError(QStringLiteral("ORA-00031: session marked for kill"), 31)));
        QVERIFY(!ora::KillAccepted(ora::OraError(QStringLiteral("ORA-00030: x"), 30)));
    }

    void clusterQueryAddsTheInstanceAndLeavesTheRestAlone() {
        const QStringList single = pieces(ora::SessionQuery(QStringLiteral("PC01")));
        const QStringList all = pieces(ora::AllInstancesQuery(QStringLiteral("PC01")));
        QCOMPARE(all.mid(0, 7), single.mid(0, 7));
        QCOMPARE(all.mid(7), (QStringList{QStringLiteral("       logon_time,  "),
                                          QStringLiteral("       inst_id      "),
                                          QStringLiteral("  FROM gv$session          "),
                                          QStringLiteral(" WHERE terminal = 'PC01'"),
                                          QStringLiteral(" ORDER BY inst_id, sid, serial#")}));
        QCOMPARE(pieces(ora::AllInstancesQuery(QStringLiteral("O'H")))[10],
                 QStringLiteral(" WHERE terminal = 'O''H'"));
    }

    void blockersQueryKeepsTheListsColumns() {
        const QStringList single = pieces(ora::SessionQuery(QString()));
        const QStringList blockers = pieces(ora::BlockersQuery(false));
        QCOMPARE(blockers.mid(0, 8), single.mid(0, 8));
        QCOMPARE(blockers.mid(8),
                 (QStringList{QStringLiteral("  FROM v$session s         "),
                              QStringLiteral(" WHERE EXISTS (SELECT 1 FROM v$session b WHERE "
                                             "b.blocking_session = s.sid AND b.blocking_instance "
                                             "= USERENV('INSTANCE'))"),
                              QStringLiteral(" ORDER BY NVL2(blocking_session, 1, 0), sid, "
                                             "serial#")}));
        const QStringList all = pieces(ora::AllInstancesQuery(QString()));
        const QStringList cluster = pieces(ora::BlockersQuery(true));
        QCOMPARE(cluster.mid(0, 9), all.mid(0, 9));
        QCOMPARE(cluster.mid(9),
                 (QStringList{QStringLiteral("  FROM gv$session s        "),
                              QStringLiteral(" WHERE EXISTS (SELECT 1 FROM gv$session b WHERE "
                                             "b.blocking_session = s.sid AND b.blocking_instance "
                                             "= s.inst_id)"),
                              QStringLiteral(" ORDER BY NVL2(blocking_session, 1, 0), inst_id, "
                                             "sid, serial#")}));
    }

    void sessionKeysAreNumbersOnly() {
        const auto key = ora::ParseSessionKey(QStringLiteral("12"), QStringLiteral("345"));
        QVERIFY(key);
        QCOMPARE(ora::KillStatement(*key, false),
                 QStringLiteral("ALTER SYSTEM KILL SESSION '12,345'"));
        QCOMPARE(ora::KillStatement(*key, true),
                 QStringLiteral("ALTER SYSTEM KILL SESSION '12,345' IMMEDIATE"));
        const auto onTwo =
            ora::ParseSessionKey(QStringLiteral("12"), QStringLiteral("345"), QStringLiteral("2"));
        QVERIFY(onTwo);
        QCOMPARE(ora::KillStatement(*onTwo, true),
                 QStringLiteral("ALTER SYSTEM KILL SESSION '12,345,@2' IMMEDIATE"));
        // Cancelling the statement spells the id as Oracle's documentation does.
        QCOMPARE(ora::CancelStatement(*key), QStringLiteral("ALTER SYSTEM CANCEL SQL '12, 345'"));
        QCOMPARE(ora::CancelStatement(*onTwo),
                 QStringLiteral("ALTER SYSTEM CANCEL SQL '12, 345, @2'"));
        // Whatever else a cell may hold never reaches a statement.
        for (const char* bad :
             {"", "－", " 12", "+12", "-1", "0", "1e3", "12'--", "１２", "99999999999999999999"})
            QVERIFY2(!ora::ParseSessionKey(QString::fromUtf8(bad), QStringLiteral("1")), bad);
        QVERIFY(
            !ora::ParseSessionKey(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("x")));
    }

    void detailsQueryNamesTheSessionByNumbers() {
        const QStringList single = pieces(ora::SessionDetailsQuery({12, 345, 0}));
        QCOMPARE(single.last(), QStringLiteral("  FROM v$session s WHERE s.sid = 12 AND "
                                               "s.serial# = 345"));
        QVERIFY(single[1].contains(QStringLiteral("FROM v$sql q WHERE q.sql_id = s.sql_id AND")));
        QVERIFY(single.contains(
            QStringLiteral("       s.final_blocking_session, s.final_blocking_instance,")));
        // The transaction and the operations come from views a user may be refused; the
        // statement for such a user leaves them out and names the object from all_objects.
        const QString full = single.join(u'\n');
        const QString narrow = ora::SessionDetailsQuery({12, 345, 0}, false);
        for (const char* view : {"v$transaction t", "v$session_longops l", "dba_objects o"}) {
            QVERIFY2(full.contains(QLatin1String(view)), view);
            QVERIFY2(!narrow.contains(QLatin1String(view)), view);
        }
        QVERIFY(narrow.contains(QStringLiteral("FROM all_objects o WHERE o.object_id = "
                                               "s.row_wait_obj#)\r  FROM v$session s")));
        const QString cluster = ora::SessionDetailsQuery({12, 345, 2});
        QVERIFY(cluster.endsWith(QStringLiteral("  FROM gv$session s WHERE s.sid = 12 AND "
                                                "s.serial# = 345 AND s.inst_id = 2")));
        QVERIFY(!cluster.contains(QStringLiteral(" v$")));
        QVERIFY(cluster.contains(QStringLiteral("t.addr = s.taddr AND t.inst_id = s.inst_id")));
        QVERIFY(cluster.contains(QStringLiteral("AND l.inst_id = s.inst_id AND l.sofar")));
    }

    void detailsSayWhatAKillWouldStart_data() {
        QTest::addColumn<QVariantMap>("given"); // details columns by position; NULL elsewhere
        QTest::addColumn<int>("columns");       // how many the statement read
        QTest::addColumn<QStringList>("shown"); // the row, the transaction, the operation
        const QVariant null;
        const QVariantMap rowLock{
            {QString::number(ora::dcEvent), QStringLiteral("enq: TX - row lock contention")},
            {QString::number(ora::dcRowWaitObject), 73021},
            {QString::number(ora::dcRowWaitFile), 4},
            {QString::number(ora::dcRowWaitBlock), 1234},
            {QString::number(ora::dcRowWaitRow), 5}};
        QVariantMap named = rowLock;
        named[QString::number(ora::dcObjectOwner)] = QStringLiteral("APP");
        named[QString::number(ora::dcObjectName)] = QStringLiteral("ORDERS");
        named[QString::number(ora::dcOperation)] = QStringLiteral("RMAN: full datafile backup");
        named[QString::number(ora::dcOperationDone)] = 1;
        named[QString::number(ora::dcOperationTotal)] = 3;
        QTest::newRow("a row lock on a known object, no time left known")
            << named << int(ora::dcColumnCount)
            << QStringList{QStringLiteral("APP.ORDERS（ファイル 4、ブロック 1234、行 5）"),
                           QStringLiteral("なし"),
                           QStringLiteral("RMAN: full datafile backup（33%）")};
        QTest::newRow("an object the user may not see")
            << rowLock << int(ora::dcObjectName) + 1
            << QStringList{QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ番号 73021（ファイル 4、ブロック 1234、行 5）"),
                           QStringLiteral("－"), QStringLiteral("－")};
        // The row columns outlive the wait: an idle session waits on no row.
        QVariantMap idle = named;
        idle[QString::number(ora::dcEvent)] = QStringLiteral("SQL*Net message from client");
        idle[QString::number(ora::dcUndoBlocks)] = 5000;
        idle[QString::number(ora::dcUndoRecords)] = 120000;
        QTest::newRow("idle in an open transaction")
            << idle << int(ora::dcColumnCount)
            << QStringList{QStringLiteral("なし"),
                           QStringLiteral("－ 開始、UNDO 5000 ブロック／120000 レコード\n"
                                          "切断するとロールバックされ、UNDOの量に比例して時間が"
                                          "かかります。"),
                           QStringLiteral("RMAN: full datafile backup（33%）")};
    }

    void detailsSayWhatAKillWouldStart() {
        QFETCH(QVariantMap, given);
        QFETCH(int, columns);
        QFETCH(QStringList, shown);
        QList<QVariant> values(columns);
        for (auto it = given.cbegin(); it != given.cend(); ++it)
            if (it.key().toInt() < columns)
                values[it.key().toInt()] = it.value();
        QStringList texts;
        for (const auto& [caption, value] : ora::SessionDetailsTexts(values).fields)
            if (caption == QStringLiteral("待機中の行") || caption == QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝ") ||
                caption == QStringLiteral("長時間操作"))
                texts << value;
        QCOMPARE(texts, shown);
    }

    void failureTextWrapsTheDescription() {
        QCOMPARE(ora::FailureText(QStringLiteral("以下の理由により検索できませんでした。"),
                                  QStringLiteral("ORA-00942: table or view does not exist")),
                 QStringLiteral("以下の理由により検索できませんでした。\r\n\r\n「ORA-00942: table "
                                "or view does not exist」"));
    }
};

QTEST_APPLESS_MAIN(TestStatements)
#include "test_statements.moc"
