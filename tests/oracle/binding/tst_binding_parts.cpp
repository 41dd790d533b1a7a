// The binding's pure parts: what they get wrong would reach the server or the user unnoticed.
#include "oracle/oci_columns.h"
#include "oracle/oci_credentials.h"
#include "oracle/oci_date.h"
#include "oracle/oci_error.h"
#include "oracle/oci_library.h"
#include "oracle/oci_rowstore.h"

#include <QTest>
#include <cstring>

using namespace ora::binding;

class BindingParts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsConnectAtFirstSlash_data();
    void splitsConnectAtFirstSlash();
    void convertsDatesWithoutZoneShift();
    void storesCellsInOrderWithNulls();
    void storesRowsCompactly();
    void sizesColumnBuffers();
    void fetchesAtLeast500RowsPerCall();
    void triesLibraryNamesInDriverOrder();
    void trimsOracleMessages();
    void reportsReturnCodesWithoutRecords();
};

void BindingParts::splitsConnectAtFirstSlash_data() {
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << QStringLiteral("scott/tiger") << QStringLiteral("scott")
                           << QStringLiteral("tiger");
    QTest::newRow("slash and at in password")
        << QStringLiteral("scott/a/b@c") << QStringLiteral("scott") << QStringLiteral("a/b@c");
    QTest::newRow("no slash") << QStringLiteral("scott") << QStringLiteral("scott") << QString();
    QTest::newRow("empty password")
        << QStringLiteral("scott/") << QStringLiteral("scott") << QString();
    QTest::newRow("empty user") << QStringLiteral("/pw") << QString() << QStringLiteral("pw");
    QTest::newRow("japanese") << QStringLiteral("利用者/パス/ワード") << QStringLiteral("利用者")
                              << QStringLiteral("パス/ワード");
}

void BindingParts::splitsConnectAtFirstSlash() {
    QFETCH(QString, connect);
    QFETCH(QString, user);
    QFETCH(QString, password);
    const OciCredentials credentials = SplitConnect(connect);
    QCOMPARE(credentials.user, user.toUtf8());
    QCOMPARE(credentials.password, password.toUtf8());
    // Lengths go to OCI as UTF-8 byte counts.
    QCOMPARE(credentials.user.size(), user.toUtf8().size());
}

void BindingParts::convertsDatesWithoutZoneShift() {
    const QDateTime dt = DateTimeFromOci(OCIDateValue{1992, 11, 30, 15, 17, 5, 0});
    QCOMPARE(dt.date(), QDate(1992, 11, 30));
    QCOMPARE(dt.time(), QTime(15, 17, 5));
    QCOMPARE(dt.timeSpec(), Qt::LocalTime);

    const QDateTime midnight = DateTimeFromOci(OCIDateValue{2026, 12, 31, 0, 0, 0, 0});
    QCOMPARE(midnight.time(), QTime(0, 0));
    QVERIFY(midnight.isValid());
    QCOMPARE(DateTimeFromOci(OCIDateValue{-4712, 1, 1, 0, 0, 0, 0}).date().year(), -4712);
}

void BindingParts::storesCellsInOrderWithNulls() {
    RowStore store({ColumnKind::Text, ColumnKind::Date, ColumnKind::Text});
    const QByteArray japanese = QStringLiteral("端末ＡＢＣ").toUtf8();
    store.appendText("12", 2);
    store.appendDate(OCIDateValue{2024, 2, 29, 23, 59, 58, 0});
    store.appendNull();
    store.appendNull();
    store.appendNull();
    store.appendText(japanese.constData(), static_cast<size_t>(japanese.size()));
    store.appendText("", 0);
    store.appendDate(OCIDateValue{2000, 1, 1, 0, 0, 0, 0});
    store.appendText("x", 1);
    store.finish();

    QCOMPARE(store.rowCount(), 3);
    QCOMPARE(store.value(0, 0), QVariant(QStringLiteral("12")));
    QCOMPARE(store.value(0, 1).toDateTime(), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
    QVERIFY(store.value(0, 2).isNull());
    QVERIFY(store.value(1, 0).isNull());
    QVERIFY(store.value(1, 1).isNull());
    QCOMPARE(store.value(1, 2).toString(), QStringLiteral("端末ＡＢＣ"));
    // An empty string is a value, not NULL, and the cell after it keeps its own bytes.
    QVERIFY(!store.value(2, 0).isNull());
    QCOMPARE(store.value(2, 0).typeId(), QMetaType::QString);
    QCOMPARE(store.value(2, 1).toDateTime(), QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    QCOMPARE(store.value(2, 2).toString(), QStringLiteral("x"));
}

void BindingParts::storesRowsCompactly() {
    // A typical session row: 8 columns, some 70 characters of text and a date.
    const std::vector<ColumnKind> kinds{ColumnKind::Text, ColumnKind::Text, ColumnKind::Text,
                                        ColumnKind::Text, ColumnKind::Text, ColumnKind::Text,
                                        ColumnKind::Text, ColumnKind::Date};
    const char* texts[] = {"1234",
                           "56789",
                           "SCOTT",
                           "oracle",
                           "host01.example.com",
                           "pts/3",
                           "sqlplus@host01 (TNS V1-V3)"};
    RowStore store(kinds);
    constexpr int rows = 10000;
    for (int row = 0; row < rows; ++row) {
        for (const char* text : texts)
            store.appendText(text, std::strlen(text));
        store.appendDate(OCIDateValue{2026, 12, 7, 9, 0, 0, 0});
    }
    store.finish();
    const double perRow = double(store.bytesHeld()) / rows;
    qInfo("row store: %.1f bytes per row", perRow);
    QVERIFY2(perRow <= 150, qPrintable(QString::number(perRow)));
    QCOMPARE(store.value(rows - 1, 6).toString(), QStringLiteral("sqlplus@host01 (TNS V1-V3)"));
}

void BindingParts::sizesColumnBuffers() {
    const ColumnPlan date = PlanColumn({oci::SQLT_DAT, 7, 0});
    QCOMPARE(date.kind, ColumnKind::Date);
    QCOMPARE(date.defineType, oci::SQLT_ODT);
    QCOMPARE(date.elementSize, size_t(8));

    const ColumnPlan number = PlanColumn({oci::SQLT_NUM, 22, 0});
    QCOMPARE(number.defineType, oci::SQLT_CHR);
    QCOMPARE(number.elementSize, size_t(64));

    // VARCHAR2(30): any character may take 4 UTF-8 bytes in the client.
    QCOMPARE(PlanColumn({oci::SQLT_CHR, 30, 30}).elementSize, size_t(120));
    QCOMPARE(PlanColumn({oci::SQLT_AFC, 10, 10}).defineType, oci::SQLT_CHR);
    QCOMPARE(PlanColumn({oci::SQLT_CHR, 0, 0}).elementSize, size_t(1));
    // A type shown as its text form gets room beyond its stored size.
    QVERIFY(PlanColumn({187, 11, 0}).elementSize >= 40);
}

void BindingParts::fetchesAtLeast500RowsPerCall() {
    QCOMPARE(FetchArrayRows(16 * 4000 * 4), ub4(500));
    QCOMPARE(FetchArrayRows(1), ub4(2000));
    const ub4 typical = FetchArrayRows(2000);
    QVERIFY(typical >= 500 && typical <= 2000);
}

void BindingParts::triesLibraryNamesInDriverOrder() {
    const std::vector<std::string> expected{
        "libclntsh.so",      "libclntsh.so.19.1", "libclntsh.so.18.1", "libclntsh.so.12.1",
        "libclntsh.so.11.1", "libclntsh.so.20.1", "libclntsh.so.21.1"};
    QVERIFY(OciLibraryCandidates(nullptr) == expected);
    QVERIFY(OciLibraryCandidates("") == expected);
    std::vector<std::string> withHome = expected;
    withHome.push_back("/opt/oracle/lib/libclntsh.so");
    QVERIFY(OciLibraryCandidates("/opt/oracle") == withHome);
}

void BindingParts::trimsOracleMessages() {
    const auto trim = [](const char* text, size_t capacity) {
        return TrimmedOracleMessage(reinterpret_cast<const OraText*>(text), capacity);
    };
    QCOMPARE(trim("ORA-00942: table or view does not exist\n \n", 64),
             QStringLiteral("ORA-00942: table or view does not exist"));
    // Lines inside the message stay; only the end is trimmed.
    QCOMPARE(trim("ORA-03113: end-of-file\nProcess ID: 7\n", 64),
             QStringLiteral("ORA-03113: end-of-file\nProcess ID: 7"));
    QCOMPARE(trim("ORA-01017: 無効です\r\n", 64), QStringLiteral("ORA-01017: 無効です"));
    // A message filling the whole buffer has no terminator; nothing past the buffer is read.
    QCOMPARE(trim("ORA-00900xxxx", 9), QStringLiteral("ORA-00900"));
}

void BindingParts::reportsReturnCodesWithoutRecords() {
    const OciApi none; // these cases must not call into the library at all
    QVERIFY(!OciFailure(none, oci::SUCCESS, nullptr));
    QVERIFY(!OciFailure(none, oci::SUCCESS_WITH_INFO, nullptr));
    const auto invalid = OciFailure(none, oci::INVALID_HANDLE, nullptr);
    QVERIFY(invalid);
    QVERIFY(invalid->description().contains(QStringLiteral("OCI_INVALID_HANDLE")));
    QCOMPARE(invalid->code(), 0);
    const auto unexpected = OciFailure(none, oci::NO_DATA, nullptr);
    QVERIFY(unexpected);
    QVERIFY(unexpected->description().contains(QStringLiteral("100")));
    QVERIFY(OciFailure(none, oci::ERROR, nullptr));
}

QTEST_GUILESS_MAIN(BindingParts)
#include "tst_binding_parts.moc"
