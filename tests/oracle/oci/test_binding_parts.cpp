// The binding's parts that no stand-in run can reach: the password split, the message trimming
// and the return codes that carry no error record.
#include "oracle/database.h"
#include "oracle/oci/oci_credentials.h"
#include "oracle/oci/oci_error.h"
#include "oracle/oci/oci_library.h"

#include <QTest>
#include <utility>

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
    QTest::addColumn<uint>("mode");
    QTest::addColumn<bool>("external");
    QTest::addColumn<bool>("refused");
    QTest::newRow("plain") << QStringLiteral("scott/tiger") << QStringLiteral("scott")
                           << QStringLiteral("tiger") << uint(oci::DEFAULT) << false << false;
    QTest::newRow("slash and at in password")
        << QStringLiteral("scott/a/b@c") << QStringLiteral("scott") << QStringLiteral("a/b@c")
        << uint(oci::DEFAULT) << false << false;
    QTest::newRow("no slash") << QStringLiteral("scott") << QStringLiteral("scott") << QString()
                              << uint(oci::DEFAULT) << false << false;
    QTest::newRow("empty password") << QStringLiteral("scott/") << QStringLiteral("scott")
                                    << QString() << uint(oci::DEFAULT) << false << false;
    // "/" then anything but a privilege: never a logon with an empty user name.
    QTest::newRow("slash and a word")
        << QStringLiteral("/pw") << QString() << QString() << uint(oci::DEFAULT) << false << true;
    QTest::newRow("slash and a word, then a password")
        << QStringLiteral(" /pw/x") << QString() << QString() << uint(oci::DEFAULT) << false
        << true;
    QTest::newRow("japanese") << QStringLiteral("利用者/パス/ワード") << QStringLiteral("利用者")
                              << QStringLiteral("パス/ワード") << uint(oci::DEFAULT) << false
                              << false;
    // As SQL*Plus reads a user ID: a privilege after "as", in any case and spacing.
    QTest::newRow("sysdba") << QStringLiteral(" Sys  AS\tsysDBA /pw/x") << QStringLiteral("Sys")
                            << QStringLiteral("pw/x") << uint(oci::SYSDBA) << false << false;
    for (const auto& [word, mode] :
         {std::pair{"sysoper", oci::SYSOPER}, std::pair{"sysasm", oci::SYSASM},
          std::pair{"sysbackup", oci::SYSBKP}, std::pair{"sysdg", oci::SYSDGD},
          std::pair{"syskm", oci::SYSKMT}})
        QTest::newRow(word) << QStringLiteral("admin as %1/pw").arg(QLatin1String(word))
                            << QStringLiteral("admin") << QStringLiteral("pw") << uint(mode)
                            << false << false;
    // An unknown privilege is refused before anything is sent.
    QTest::newRow("unknown privilege") << QStringLiteral("sys as sysfoo/pw") << QString()
                                       << QString() << uint(oci::DEFAULT) << false << true;
    QTest::newRow("as without a privilege") << QStringLiteral("sys as/pw") << QString() << QString()
                                            << uint(oci::DEFAULT) << false << true;
    QTest::newRow("external, unknown privilege")
        << QStringLiteral("/ as foo/") << QString() << QString() << uint(oci::DEFAULT) << false
        << true;
    // "/" asks for external credentials; a password typed with it goes nowhere.
    QTest::newRow("external") << QStringLiteral("//") << QString() << QString()
                              << uint(oci::DEFAULT) << true << false;
    QTest::newRow("external with a password") << QStringLiteral(" / /pelmora") << QString()
                                              << QString() << uint(oci::DEFAULT) << true << false;
    QTest::newRow("external, no joining slash")
        << QStringLiteral(" / ") << QString() << QString() << uint(oci::DEFAULT) << true << false;
    QTest::newRow("external as sysdba") << QStringLiteral("/ As SYSDBA/") << QString() << QString()
                                        << uint(oci::SYSDBA) << true << false;
}

void BindingParts::splitsConnectAtFirstSlash() {
    QFETCH(QString, connect);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(uint, mode);
    QFETCH(bool, external);
    QFETCH(bool, refused);
    if (refused) {
        QVERIFY_THROWS_EXCEPTION(ora::OraError, SplitConnect(connect));
        return;
    }
    const OciCredentials credentials = SplitConnect(connect);
    QCOMPARE(credentials.user, user.toUtf8());
    QCOMPARE(credentials.password, password.toUtf8());
    QCOMPARE(uint(credentials.mode), mode);
    QCOMPARE(credentials.external, external);
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
