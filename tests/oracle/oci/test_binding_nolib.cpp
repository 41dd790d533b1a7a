// The client library's names, loading it when the loader cannot find it, and finding it
// through ORACLE_HOME. Runs with a LD_LIBRARY_PATH that does not hold the stand-in.
#include "oracle/oci/oci_session.h"
#include "platform/clientlibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class BindingNoLibrary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void triesLibraryNamesInDriverOrder();
    void reportsMissingLibraryWithLoaderReason();
    void findsLibraryUnderOracleHomeOnRetry();
};

namespace {
QString loadFailure() {
    try {
        ora::CreateOciSession();
    } catch (const ora::OraError& e) {
        return e.description();
    }
    return QString();
}
} // namespace

void BindingNoLibrary::triesLibraryNamesInDriverOrder() {
    // No 11.1: the 11.2 client lacks OCIDefineByPos2.
    const QStringList expected{
        QStringLiteral("libclntsh.so"),      QStringLiteral("libclntsh.so.19.1"),
        QStringLiteral("libclntsh.so.18.1"), QStringLiteral("libclntsh.so.12.1"),
        QStringLiteral("libclntsh.so.20.1"), QStringLiteral("libclntsh.so.21.1")};
    QCOMPARE(platform::OracleClientCandidates(QString()), expected);
    QCOMPARE(platform::OracleClientCandidates(QStringLiteral("/opt/oracle")),
             expected + QStringList{QStringLiteral("/opt/oracle/lib/libclntsh.so")});
}

void BindingNoLibrary::reportsMissingLibraryWithLoaderReason() {
    qunsetenv("ORACLE_HOME");
    const QString first = loadFailure();
    // Every file tried is named.
    const QString tried = QStringLiteral("libclntsh.so, libclntsh.so.19.1, libclntsh.so.18.1, "
                                         "libclntsh.so.12.1, libclntsh.so.20.1, libclntsh.so.21.1");
    QVERIFY2(first.startsWith(QStringLiteral("Oracle クライアント ライブラリ (") + tried +
                              QStringLiteral(") を読み込めません: ")),
             qPrintable(first));
    // The loader's own reason, as dlerror words it, for the plain name, then what to install
    // and set.
    QVERIFY2(first.endsWith(QStringLiteral(
                 "libclntsh.so: cannot open shared object file: No such file or directory。"
                 "Oracle Instant Client Basic をインストールして、そのフォルダを "
                 "LD_LIBRARY_PATH に設定するか、Oracle クライアントのフォルダを ORACLE_HOME に"
                 "設定してください。")),
             qPrintable(first));
    // A second attempt tries again and fails the same clear way.
    QCOMPARE(loadFailure(), first);

    qputenv("ORACLE_HOME", "/nonexistent/oracle");
    QCOMPARE(loadFailure(),
             QString(first).replace(
                 tried, tried + QStringLiteral(", /nonexistent/oracle/lib/libclntsh.so")));
}

void BindingNoLibrary::findsLibraryUnderOracleHomeOnRetry() {
    const QString standin =
        qEnvironmentVariable("KESTROM_STANDIN_DIR") + QStringLiteral("/libclntsh.so");
    QVERIFY2(QFile::exists(standin), qPrintable(standin));
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("lib")));
    QVERIFY(QFile::link(standin, home.filePath(QStringLiteral("lib/libclntsh.so"))));

    qputenv("ORACLE_HOME", QFile::encodeName(home.path()));
    QVERIFY(ora::CreateOciSession() != nullptr);
    // Once loaded the library stays, whatever happens to ORACLE_HOME.
    qunsetenv("ORACLE_HOME");
    QVERIFY(ora::CreateOciSession() != nullptr);
}

QTEST_GUILESS_MAIN(BindingNoLibrary)
#include "test_binding_nolib.moc"
