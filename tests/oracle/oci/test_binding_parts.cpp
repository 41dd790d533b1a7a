// The binding's parts that no stand-in run can reach: the password split, the message trimming
// and the return codes that carry no error record.
#include "oracle/oci/oci_credentials.h"
#include "oracle/oci/oci_error.h"
#include "oracle/oci/oci_library.h"

#include <QTest>

using namespace ora::binding;

class BindingParts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsConnectAtFirstSlash_data();
    void splitsConnectAtFirstSlash();
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
#include "test_binding_parts.moc"
