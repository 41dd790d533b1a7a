// The binding against the stand-in client library: logon, queries, errors and a lost
// connection, through the same OCI calls a real client would receive.
#include "oracle/oci/oci_dynaset.h"
#include "oracle/oci/oci_session.h"
#include "standin_fixture.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTest>
#include <cmath>

using ora::OraDatabase;
using ora::OraDynaset;
using ora::OraError;

namespace {

const QString kHost = QStringLiteral("KESTROMDB");
const QString kColumns =
    QStringLiteral("sid, serial#, status, terminal, osuser, username, program, logon_time");

QString sessionQuery(const QString& where = QString()) {
    return QStringLiteral("SELECT %1 FROM v$session %2 ORDER BY sid, serial#").arg(kColumns, where);
}

// Runs call and returns the OraError it throws; fails the test when it throws nothing.
template <typename Call> OraError errorFrom(Call call) {
    try {
        call();
    } catch (const OraError& e) {
        return e;
    }
    return OraError(QStringLiteral("<no error thrown>"), -1);
}

} // namespace

class BindingStandin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void logsOnAndRefusesBadLogons();
    void readsRowsNullsDatesAndJapanese();
    void knowsRecordCountAndEndOfEmptyResult();
    void fetchesLargeResultsInFewRoundTrips_data();
    void fetchesLargeResultsInFewRoundTrips();
    void sendsStatementsAndLogsOffIntact();
    void reportsServerErrorsWithOracleText();
    void runsStatementsAndReportsTheirErrors();
    void survivesLostConnection_data();
    void survivesLostConnection();

private:
    std::unique_ptr<OraDatabase> open(const QString& connect = QStringLiteral("scott/tiger"));

    std::unique_ptr<ora::OraSession> mSession;
    testsupport::StandinFixture mFixture;
    QString mBase;
};

void BindingStandin::initTestCase() {
    mSession = ora::CreateOciSession();
}

void BindingStandin::init() {
    mBase = QStringLiteral("connect\t%1\n"
                           "user\tscott\ttiger\tread,alter\n"
                           "user\tnobody\tpw\t-\n"
                           "user\tslasher\tp/w@x/\tread\n")
                .arg(kHost);
}

std::unique_ptr<OraDatabase> BindingStandin::open(const QString& connect) {
    return mSession->OpenDatabase(kHost, connect, 0);
}

void BindingStandin::logsOnAndRefusesBadLogons() {
    mFixture.load(mBase);
    auto db = open();
    db->Close();
    db->Close(); // a second close does nothing

    // Split at the first "/" only: the rest, "/" and "@" included, is the password.
    open(QStringLiteral("slasher/p/w@x/"))->Close();

    const OraError badPassword = errorFrom([&] { open(QStringLiteral("scott/lion")); });
    QCOMPARE(badPassword.code(), 1017);
    QVERIFY2(badPassword.description().startsWith(QStringLiteral("ORA-01017: ")),
             qPrintable(badPassword.description()));
    QVERIFY(!badPassword.description().endsWith(QLatin1Char('\n')));
    QCOMPARE(errorFrom([&] { open(QStringLiteral("scott")); }).code(), 1017);

    const OraError badHost = errorFrom([&] {
        mSession->OpenDatabase(QStringLiteral("NOSUCHDB"), QStringLiteral("scott/tiger"), 0);
    });
    QCOMPARE(badHost.code(), 12154);
    QVERIFY2(badHost.description().startsWith(QStringLiteral("ORA-12154: ")),
             qPrintable(badHost.description()));
}

void BindingStandin::readsRowsNullsDatesAndJapanese() {
    mFixture.load(
        mBase +
        QStringLiteral(
            "session\t12\t345\tACTIVE\t端末１\t山田\tSCOTT\tsqlplus.exe\t2026-12-07 09:05:30\n"
            "session\t7\t1\tINACTIVE\t\\N\t\\N\t\\N\t\\N\t1999-12-31 23:59:59\n"));
    auto db = open();
    const auto rows = db->DbCreateDynaset(sessionQuery(), 0);
    QCOMPARE(rows->fieldsCount(), 8);
    QCOMPARE(rows->RecordCount(), 2);
    QVERIFY(!rows->isEOF());

    // Field objects are taken once and follow the current row.
    ora::OraField& sid = rows->Fields(0);
    ora::OraField& terminal = rows->Fields(3);
    ora::OraField& logon = rows->Fields(7);

    QCOMPARE(sid.value(), QVariant(QStringLiteral("7")));
    QVERIFY(terminal.value().isNull());
    QVERIFY(rows->Fields(6).value().isNull());
    QCOMPARE(logon.value().toDateTime().date(), QDate(1999, 12, 31));
    QCOMPARE(logon.value().toDateTime().time(), QTime(23, 59, 59));

    rows->DbMoveNext();
    QCOMPARE(sid.value().toString(), QStringLiteral("12"));
    QCOMPARE(rows->Fields(1).value().toString(), QStringLiteral("345"));
    QCOMPARE(terminal.value().toString(), QStringLiteral("端末１"));
    QCOMPARE(rows->Fields(4).value().toString(), QStringLiteral("山田"));
    const QDateTime when = logon.value().toDateTime();
    // The wall-clock reading, unconverted whatever the machine's time zone.
    QCOMPARE(when.date(), QDate(2026, 12, 7));
    QCOMPARE(when.time(), QTime(9, 5, 30));
    QCOMPARE(when.timeSpec(), Qt::UTC);

    rows->DbMoveNext();
    QVERIFY(rows->isEOF());
    rows->DbMoveNext(); // past the end: harmless
    QVERIFY(rows->isEOF());
    QVERIFY(errorFrom([&] { sid.value(); }).code() != -1);

    // Japanese in the statement text reaches the server as UTF-8.
    const auto filtered =
        db->DbCreateDynaset(sessionQuery(QStringLiteral("WHERE terminal = '端末１'")), 0);
    QCOMPARE(filtered->RecordCount(), 1);
    QCOMPARE(filtered->Fields(5).value().toString(), QStringLiteral("SCOTT"));
}

void BindingStandin::knowsRecordCountAndEndOfEmptyResult() {
    mFixture.load(mBase + QStringLiteral("generate\t20\tT1\n"));
    auto db = open();
    const auto none =
        db->DbCreateDynaset(sessionQuery(QStringLiteral("WHERE terminal = 'NONE'")), 0);
    QVERIFY(none->isEOF());
    QCOMPARE(none->RecordCount(), 0);
    QCOMPARE(none->fieldsCount(), 8);
    none->DbMoveNext();
    QVERIFY(none->isEOF());

    const auto all = db->DbCreateDynaset(sessionQuery(), 0);
    QCOMPARE(all->RecordCount(), 20); // before the first move
    qint64 walked = 0;
    for (; !all->isEOF(); all->DbMoveNext())
        ++walked;
    QCOMPARE(walked, 20);
}

void BindingStandin::fetchesLargeResultsInFewRoundTrips_data() {
    QTest::addColumn<qint64>("rows");
    // Sizes around the fetch arrays' edges: a full last array is followed by an empty
    // NO_DATA call, a partial one comes with NO_DATA itself.
    for (const qint64 rows : {1, 499, 500, 1234, 2000, 2001, 4000, 10000, 100000})
        QTest::addRow("%lld", rows) << rows;
}

void BindingStandin::fetchesLargeResultsInFewRoundTrips() {
    QFETCH(qint64, rows);
    mFixture.load(mBase + QStringLiteral("generate\t%1\n").arg(rows));
    auto db = open();
    const unsigned long long before = mFixture.roundTrips();
    QElapsedTimer timer;
    timer.start();
    const auto all = db->DbCreateDynaset(sessionQuery(), 0);
    const qint64 ms = timer.elapsed();
    const unsigned long long trips = mFixture.roundTrips() - before;
    qInfo("%lld rows in %llu round trips (execute and fetches), %lld ms", rows, trips, ms);
    QCOMPARE(all->RecordCount(), rows);
    if (rows <= 500)
        QCOMPARE(trips, 1ull);
    QVERIFY(trips <= static_cast<unsigned long long>(std::ceil(rows / 500.0)) + 1);
    const auto& stored = dynamic_cast<const ora::binding::OciDynaset&>(*all).rows();
    const double perRow = double(stored.bytesHeld()) / double(rows);
    qInfo("%.1f bytes held per row", perRow);
    QVERIFY(perRow <= 150); // generated rows are typical v$session rows

    // Every row arrives once, in order, across the fetch arrays' boundaries.
    qint64 previous = -1;
    qint64 seen = 0;
    for (; !all->isEOF(); all->DbMoveNext(), ++seen) {
        const qint64 sid = all->Fields(0).value().toString().toLongLong();
        QVERIFY2(sid > previous, qPrintable(QString::number(sid)));
        previous = sid;
        QVERIFY(!all->Fields(2).value().toString().isEmpty());
        QVERIFY(all->Fields(7).value().toDateTime().isValid());
    }
    QCOMPARE(seen, rows);
}

void BindingStandin::sendsStatementsAndLogsOffIntact() {
    mFixture.load(mBase);
    const QString query = sessionQuery(QStringLiteral("WHERE terminal = 'O''Brien 端末'"));
    {
        auto db = open(QStringLiteral("slasher/p/w@x/"));
        QCOMPARE(db->DbCreateDynaset(query, 0)->RecordCount(), 0);
        // Dropped without Close: the destructor still logs off.
    }
    const QString log = mFixture.log();
    QVERIFY2(log.contains(QStringLiteral("LOGON SLASHER@%1").arg(kHost), Qt::CaseInsensitive),
             qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("EXEC ") + query + QLatin1Char('\n')), qPrintable(log));
    QVERIFY(log.trimmed().endsWith(QStringLiteral("LOGOFF")));
    QVERIFY(!log.contains(QStringLiteral("p/w@x/")));
}

void BindingStandin::reportsServerErrorsWithOracleText() {
    mFixture.load(mBase);
    auto unprivileged = open(QStringLiteral("nobody/pw"));
    const OraError noTable = errorFrom([&] { unprivileged->DbCreateDynaset(sessionQuery(), 0); });
    QCOMPARE(noTable.code(), 942);
    QVERIFY2(noTable.description().startsWith(QStringLiteral("ORA-00942: ")),
             qPrintable(noTable.description()));

    auto db = open();
    const OraError invalid = errorFrom([&] { db->DbCreateDynaset(QStringLiteral("HELLO"), 0); });
    QCOMPARE(invalid.code(), 900);
    QVERIFY2(invalid.description().startsWith(QStringLiteral("ORA-00900: ")),
             qPrintable(invalid.description()));
    // The connection stays usable after a failed statement.
    QCOMPARE(db->DbCreateDynaset(sessionQuery(), 0)->RecordCount(), 0);
}

void BindingStandin::runsStatementsAndReportsTheirErrors() {
    mFixture.load(mBase + QStringLiteral("generate\t3\n"));
    auto db = open();
    const auto before = db->DbCreateDynaset(sessionQuery(), 0);
    const QString sid = before->Fields(0).value().toString();
    const QString serial = before->Fields(1).value().toString();
    const QString kill = QStringLiteral("ALTER SYSTEM KILL SESSION '%1,%2'").arg(sid, serial);

    QCOMPARE(db->ExecuteSQL(kill), 0);
    QCOMPARE(db->DbCreateDynaset(sessionQuery(), 0)->RecordCount(), 2);
    // Already gone: the caller tells this case apart by its number.
    const OraError gone = errorFrom([&] { db->ExecuteSQL(kill); });
    QCOMPARE(gone.code(), 30);
    QVERIFY(gone.description().startsWith(QStringLiteral("ORA-00030: ")));

    auto reader = open(QStringLiteral("slasher/p/w@x/"));
    QCOMPARE(errorFrom([&] { reader->ExecuteSQL(kill); }).code(), 1031);
    QCOMPARE(errorFrom([&] { db->ExecuteSQL(QStringLiteral("DROP TABLE x")); }).code(), 900);
}

void BindingStandin::survivesLostConnection_data() {
    QTest::addColumn<int>("tripsBeforeLoss");
    // Round trips: log-on, execute, fetch, fetch, ... The connection goes at the execute,
    // and in the middle of a multi-array fetch.
    QTest::newRow("at execute") << 1;
    QTest::newRow("between fetches") << 3;
}

void BindingStandin::survivesLostConnection() {
    QFETCH(int, tripsBeforeLoss);
    mFixture.load(
        mBase +
        QStringLiteral("generate\t5000\nfault\tlose-connection\t%1\n").arg(tripsBeforeLoss));
    auto db = open();
    const OraError lost = errorFrom([&] { db->DbCreateDynaset(sessionQuery(), 0); });
    QVERIFY2(lost.code() == 3113 || lost.code() == 3114, qPrintable(lost.description()));
    QVERIFY(lost.description().startsWith(QStringLiteral("ORA-031")));

    const OraError after =
        errorFrom([&] { db->ExecuteSQL(QStringLiteral("ALTER SYSTEM KILL SESSION '1,1'")); });
    QVERIFY2(after.code() == 3113 || after.code() == 3114, qPrintable(after.description()));

    // Log-off on a dead connection may fail; the handles go all the same, and only once.
    try {
        db->Close();
    } catch (const OraError& e) {
        QVERIFY(e.code() != 0);
    }
    db->Close();
    QCOMPARE(errorFrom([&] { db->DbCreateDynaset(sessionQuery(), 0); }).code(), 0);
}

QTEST_GUILESS_MAIN(BindingStandin)
#include "test_binding_standin.moc"
