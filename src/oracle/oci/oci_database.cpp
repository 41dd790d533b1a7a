#include "oracle/oci/oci_database.h"

#include "oracle/oci/oci_credentials.h"
#include "oracle/oci/oci_dynaset.h"
#include "oracle/oci/oci_error.h"
#include "oracle/oci/oci_query.h"

namespace ora::binding {

namespace {
const OraText* Text(const QByteArray& bytes) {
    return reinterpret_cast<const OraText*>(bytes.constData());
}
ub4 Length(const QByteArray& bytes) {
    return static_cast<ub4>(bytes.size());
}

// A server that stops answering must not hold a call for the operating system's TCP time-out.
// A kill may wait about 60 s before the server answers ORA-00031, so ordinary calls get more
// than that. Logging off a dead connection gets little: the time-out holds for each round trip,
// and ending an administrative logon takes two (session end, then detach), which must both fit
// in the time the program gives its logoff when it ends (see README).
constexpr ub4 kCallTimeoutMs = 90'000;
constexpr ub4 kLogoffTimeoutMs = 1'500;

void setCallTimeout(const OciApi& api, OCISvcCtx* service, OCIError* error, ub4 ms) {
    if (!api.ClientVersion)
        return;
    sword major = 0, update = 0, revision = 0, increment = 0, ext = 0;
    api.ClientVersion(&major, &update, &revision, &increment, &ext);
    if (major < 18)
        return;
    // A client that refuses the attribute simply has no time-out.
    (void)api.AttrSet(service, oci::HTYPE_SVCCTX, &ms, sizeof ms, oci::ATTR_CALL_TIMEOUT, error);
}
} // namespace

OciDatabase::OciDatabase(const OciApi& api) : mApi(api), mEnv(api), mError(api), mBreakError(api) {}

OciDatabase::~OciDatabase() {
    try {
        Close();
    } catch (...) {
        // Nobody is left to tell; Close has freed the handles all the same.
    }
}

std::unique_ptr<OciDatabase> OciDatabase::Open(const OciApi& api, const QString& databaseName,
                                               const QString& connect) {
    std::unique_ptr<OciDatabase> db(new OciDatabase(api));
    const sword envRc =
        api.EnvNlsCreate(db->mEnv.out(), oci::THREADED | oci::OBJECT, nullptr, nullptr, nullptr,
                         nullptr, 0, nullptr, oci::CHARSET_AL32UTF8, oci::CHARSET_AL32UTF8);
    if (!db->mEnv.get())
        throw OraError(QStringLiteral("Oracle クライアントの環境を作成できません"));
    CheckOci(api, envRc, db->mEnv.get(), oci::HTYPE_ENV);
    CheckOci(api,
             api.HandleAlloc(db->mEnv.get(), reinterpret_cast<void**>(db->mError.out()),
                             oci::HTYPE_ERROR, 0, nullptr),
             db->mEnv.get(), oci::HTYPE_ENV);
    CheckOci(api,
             api.HandleAlloc(db->mEnv.get(), reinterpret_cast<void**>(db->mBreakError.out()),
                             oci::HTYPE_ERROR, 0, nullptr),
             db->mEnv.get(), oci::HTYPE_ENV);

    const OciCredentials credentials = SplitConnect(connect);
    const QByteArray database = databaseName.toUtf8();
    if (credentials.external || credentials.mode != oci::DEFAULT) {
        db->beginSession(credentials, database);
        setCallTimeout(api, db->mService, db->mError.get(), kCallTimeoutMs);
        return db;
    }
    OCISvcCtx* service = nullptr;
    const sword rc =
        api.Logon2(db->mEnv.get(), db->mError.get(), &service, Text(credentials.user),
                   Length(credentials.user), Text(credentials.password),
                   Length(credentials.password), Text(database), Length(database), oci::DEFAULT);
    // On failure whatever the log-on left behind goes with the environment.
    CheckOci(api, rc, db->mError.get());
    {
        const std::lock_guard lock(db->mServiceMutex);
        db->mService = service;
    }
    setCallTimeout(api, service, db->mError.get(), kCallTimeoutMs);
    return db;
}

OCISvcCtx* OciDatabase::connectedService() const {
    if (!mService)
        throw OraError(QStringLiteral("データベースに接続していません"));
    return mService;
}

std::unique_ptr<OraDynaset> OciDatabase::DbCreateDynaset(const QString& sql, qint32 options) {
    (void)options; // the dynaset is always read-only
    return std::make_unique<OciDynaset>(
        FetchAll(mApi, connectedService(), mError.get(), sql.toUtf8()));
}

qint64 OciDatabase::ExecuteSQL(const QString& sql) {
    OCISvcCtx* service = connectedService();
    const OciStatement statement(mApi, service, mError.get(), sql.toUtf8());
    CheckOci(mApi,
             mApi.StmtExecute(service, statement.get(), mError.get(), 1, 0, nullptr, nullptr,
                              oci::DEFAULT),
             mError.get());
    // The count only informs; a client that cannot tell it has still run the statement.
    ub4 rows = 0;
    if (mApi.AttrGet(statement.get(), oci::HTYPE_STMT, &rows, nullptr, oci::ATTR_ROW_COUNT,
                     mError.get()) != oci::SUCCESS)
        rows = 0;
    return rows;
}

void OciDatabase::Break() {
    const std::lock_guard lock(mServiceMutex);
    // A break that finds no call running is of no harm; its failure tells nothing either.
    if (mService)
        (void)mApi.Break(mService, mBreakError.get());
}

void OciDatabase::Reset() {
    if (!mApi.Reset)
        return;
    // Made on the calls' thread between calls, so the calls' error handle is free.
    OCISvcCtx* service = connectedService();
    CheckOci(mApi, mApi.Reset(service, mError.get()), mError.get());
}

void OciDatabase::Close() {
    OCISvcCtx* service = nullptr;
    {
        const std::lock_guard lock(mServiceMutex);
        service = std::exchange(mService, nullptr);
    }
    std::optional<OraError> failure;
    if (service) {
        setCallTimeout(mApi, service, mError.get(), kLogoffTimeoutMs);
        failure = mSession ? endSession(service)
                           : OciFailure(mApi, mApi.Logoff(service, mError.get()), mError.get());
    }
    mError.reset();
    mBreakError.reset();
    mEnv.reset();
    if (failure)
        throw *failure;
}

} // namespace ora::binding
