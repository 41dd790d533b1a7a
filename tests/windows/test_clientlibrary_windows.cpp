// Loading oci.dll as Windows finds DLLs, then from %ORACLE_HOME%\bin: the names tried, the
// failure that names them all with Windows' reason, and the client found through ORACLE_HOME.
// Runs with a PATH that does not hold the stand-in.
#include "oracle/oci/oci_session.h"
#include "platform/clientlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

class ClientLibraryWindows : public QObject {
    Q_OBJECT

    static QString loadFailure() {
        try {
            ora::CreateOciSession();
        } catch (const ora::OraError& e) {
            return e.description();
        }
        return QString();
    }

private Q_SLOTS:
    void triesThePlainNameThenOracleHome() {
        QCOMPARE(platform::OracleClientCandidates(QString()),
                 QStringList{QStringLiteral("oci.dll")});
        QCOMPARE(platform::OracleClientCandidates(QStringLiteral("C:/oracle/client")),
                 (QStringList{QStringLiteral("oci.dll"),
                              QStringLiteral("C:\\oracle\\client\\bin\\oci.dll")}));
    }

    void reportsEveryPlaceTriedWithWindowsReason() {
        qunsetenv("ORACLE_HOME");
        const QString prefix =
            QStringLiteral("Oracle クライアント ライブラリ (oci.dll) を読み込めません: ");
        const QString first = loadFailure();
        QVERIFY2(first.startsWith(prefix), qPrintable(first));
        // Windows' own words for the missing module, not an empty or made-up reason.
        QVERIFY2(first.size() > prefix.size() + 5, qPrintable(first));
        const QString reason = first.mid(prefix.size());

        qputenv("ORACLE_HOME", "C:\\nonexistent\\oracle");
        QCOMPARE(loadFailure(),
                 QStringLiteral("Oracle クライアント ライブラリ (oci.dll, "
                                "C:\\nonexistent\\oracle\\bin\\oci.dll) を読み込めません: ") +
                     reason);
    }

    void findsTheClientInOracleHomeBin() {
        // A folder of the build's, not a temporary one: Windows cannot remove the loaded
        // library while the test runs; the next run removes it.
        QDir home(QCoreApplication::applicationDirPath() + QStringLiteral("/oracle-home"));
        QVERIFY(home.removeRecursively());
        QVERIFY(home.mkpath(QStringLiteral("bin")));
        QVERIFY(QFile::copy(QStringLiteral(KESTROM_STANDIN_DLL),
                            home.filePath(QStringLiteral("bin/oci.dll"))));
        qputenv("ORACLE_HOME", QFile::encodeName(QDir::toNativeSeparators(home.path())));
        QVERIFY(ora::CreateOciSession() != nullptr);
        // Once loaded the library stays, whatever happens to ORACLE_HOME.
        qunsetenv("ORACLE_HOME");
        QVERIFY(ora::CreateOciSession() != nullptr);
    }
};

QTEST_GUILESS_MAIN(ClientLibraryWindows)
#include "test_clientlibrary_windows.moc"
