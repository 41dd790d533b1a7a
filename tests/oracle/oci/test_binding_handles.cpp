// Every handle the binding takes from the client library goes back, on every path. The
// stand-in keeps live handles in a table, so a leak would not show as a leak of memory;
// instead the real entry points are wrapped with counters.
#include "oracle/oci/oci_database.h"
#include "oracle/oci/oci_library.h"
#include "standin_fixture.h"

#include <QTest>

using ora::OraError;
using ora::binding::OciApi;
using ora::binding::OciDatabase;

namespace {

OciApi real;
int liveEnvironments = 0;
int liveStatements = 0;
int liveParams = 0;

sword countEnvCreate(OCIEnv** env, ub4 mode, void* ctx, void* (*m)(void*, size_t),
                     void* (*r)(void*, void*, size_t), void (*f)(void*, void*), size_t extra,
                     void** usr, ub2 charset, ub2 ncharset) {
    const sword rc = real.EnvNlsCreate(env, mode, ctx, m, r, f, extra, usr, charset, ncharset);
    if (*env)
        ++liveEnvironments;
    return rc;
}

sword countHandleFree(void* handle, ub4 type) {
    const sword rc = real.HandleFree(handle, type);
    if (type == oci::HTYPE_ENV && rc == oci::SUCCESS)
        --liveEnvironments;
    return rc;
}

sword countPrepare(OCISvcCtx* svc, OCIStmt** stmt, OCIError* err, const OraText* text, ub4 len,
                   const OraText* key, ub4 keyLen, ub4 language, ub4 mode) {
    const sword rc = real.StmtPrepare2(svc, stmt, err, text, len, key, keyLen, language, mode);
    if (*stmt)
        ++liveStatements;
    return rc;
}

sword countRelease(OCIStmt* stmt, OCIError* err, const OraText* key, ub4 keyLen, ub4 mode) {
    const sword rc = real.StmtRelease(stmt, err, key, keyLen, mode);
    if (rc == oci::SUCCESS)
        --liveStatements;
    return rc;
}

sword countParamGet(const void* stmt, ub4 type, OCIError* err, void** param, ub4 pos) {
    const sword rc = real.ParamGet(stmt, type, err, param, pos);
    if (*param)
        ++liveParams;
    return rc;
}

sword countDescriptorFree(void* param, ub4 type) {
    const sword rc = real.DescriptorFree(param, type);
    if (rc == oci::SUCCESS)
        --liveParams;
    return rc;
}

OciApi countingApi() {
    OciApi api = real;
    api.EnvNlsCreate = countEnvCreate;
    api.HandleFree = countHandleFree;
    api.StmtPrepare2 = countPrepare;
    api.StmtRelease = countRelease;
    api.ParamGet = countParamGet;
    api.DescriptorFree = countDescriptorFree;
    return api;
}

const QString kHost = QStringLiteral("DB");
const QString kQuery = QStringLiteral(
    "SELECT sid, serial#, terminal, logon_time FROM v$session ORDER BY sid, serial#");

} // namespace

class BindingHandles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void freesAfterQueriesAndStatements();
    void freesAfterFailedLogons();
    void freesAfterFailedStatements();
    void freesAfterLostConnection();

private:
    testsupport::StandinFixture mFixture;
    OciApi mApi;
    const QString mBase = QStringLiteral("connect\tDB\nuser\tscott\ttiger\tread\n"
                                         "user\tnobody\tpw\t-\ngenerate\t2500\n");
};

void BindingHandles::initTestCase() {
    real = ora::binding::OciLibrary::instance().api();
    mApi = countingApi();
}

void BindingHandles::init() {
    liveEnvironments = liveStatements = liveParams = 0;
}

void BindingHandles::cleanup() {
    QCOMPARE(liveParams, 0);
    QCOMPARE(liveStatements, 0);
    QCOMPARE(liveEnvironments, 0);
}

void BindingHandles::freesAfterQueriesAndStatements() {
    mFixture.load(mBase);
    auto db = OciDatabase::Open(mApi, kHost, QStringLiteral("scott/tiger"));
    QCOMPARE(db->DbCreateDynaset(kQuery, 0)->RecordCount(), 2500);
    QCOMPARE(liveStatements, 0); // released as soon as the rows are in
    QCOMPARE(liveParams, 0);
    QVERIFY_THROWS_EXCEPTION(OraError,
                             db->ExecuteSQL(QStringLiteral("ALTER SYSTEM KILL SESSION '1,1'")));
    db->Close();
    QCOMPARE(liveEnvironments, 0);
    // The destructor of a database nobody closed frees it too.
    auto dropped = OciDatabase::Open(mApi, kHost, QStringLiteral("scott/tiger"));
    QCOMPARE(liveEnvironments, 1);
}

void BindingHandles::freesAfterFailedLogons() {
    mFixture.load(mBase);
    QVERIFY_THROWS_EXCEPTION(OraError, OciDatabase::Open(mApi, kHost, QStringLiteral("scott/x")));
    QVERIFY_THROWS_EXCEPTION(OraError, OciDatabase::Open(mApi, QStringLiteral("ELSEWHERE"),
                                                         QStringLiteral("scott/tiger")));
}

void BindingHandles::freesAfterFailedStatements() {
    mFixture.load(mBase);
    auto db = OciDatabase::Open(mApi, kHost, QStringLiteral("nobody/pw"));
    QVERIFY_THROWS_EXCEPTION(OraError, db->DbCreateDynaset(kQuery, 0));
    QVERIFY_THROWS_EXCEPTION(OraError, db->DbCreateDynaset(QStringLiteral("SELECT"), 0));
    QVERIFY_THROWS_EXCEPTION(
        OraError, db->DbCreateDynaset(QStringLiteral("SELECT nosuch FROM v$session"), 0));
    QVERIFY_THROWS_EXCEPTION(OraError, db->ExecuteSQL(QStringLiteral("garbage;")));
}

void BindingHandles::freesAfterLostConnection() {
    // Log-on, execute and one fetch succeed; the second fetch loses the connection.
    mFixture.load(mBase + QStringLiteral("fault\tlose-connection\t2\n"));
    auto db = OciDatabase::Open(mApi, kHost, QStringLiteral("scott/tiger"));
    QVERIFY_THROWS_EXCEPTION(OraError, db->DbCreateDynaset(kQuery, 0));
    QCOMPARE(liveStatements, 0);
    QVERIFY_THROWS_EXCEPTION(OraError, db->Close());
    QCOMPARE(liveEnvironments, 0);
    db->Close();
}

QTEST_GUILESS_MAIN(BindingHandles)
#include "test_binding_handles.moc"
