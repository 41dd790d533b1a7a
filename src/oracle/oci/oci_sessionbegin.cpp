// Logging on with an administrative privilege or external credentials.
#include "oracle/oci/oci_credentials.h"
#include "oracle/oci/oci_database.h"
#include "oracle/oci/oci_error.h"

#include <utility>

namespace ora::binding {

void OciDatabase::beginSession(const OciCredentials& credentials, const QByteArray& database) {
    OCIEnv* env = mEnv.get();
    OCIError* error = mError.get();
    // Until the session has begun, whatever is allocated goes with the environment.
    auto alloc = [&](auto** handle, ub4 type) {
        CheckOci(mApi, mApi.HandleAlloc(env, reinterpret_cast<void**>(handle), type, 0, nullptr),
                 env, oci::HTYPE_ENV);
    };
    OCIServer* server = nullptr;
    OCISvcCtx* service = nullptr;
    OCISession* session = nullptr;
    alloc(&server, oci::HTYPE_SERVER);
    alloc(&service, oci::HTYPE_SVCCTX);
    alloc(&session, oci::HTYPE_SESSION);
    // An empty host string names the local database (ORACLE_SID, or TWO_TASK / LOCAL).
    CheckOci(mApi,
             mApi.ServerAttach(server, error,
                               reinterpret_cast<const OraText*>(database.constData()),
                               static_cast<sb4>(database.size()), oci::DEFAULT),
             error);
    auto text = [&](const QByteArray& bytes, ub4 attribute) {
        return mApi.AttrSet(session, oci::HTYPE_SESSION, const_cast<char*>(bytes.constData()),
                            static_cast<ub4>(bytes.size()), attribute, error);
    };
    sword rc = mApi.AttrSet(service, oci::HTYPE_SVCCTX, server, 0, oci::ATTR_SERVER, error);
    if (rc == oci::SUCCESS && !credentials.external) {
        rc = text(credentials.user, oci::ATTR_USERNAME);
        if (rc == oci::SUCCESS)
            rc = text(credentials.password, oci::ATTR_PASSWORD);
    }
    if (rc == oci::SUCCESS)
        rc = mApi.SessionBegin(service, error, session,
                               credentials.external ? oci::CRED_EXT : oci::CRED_RDBMS,
                               credentials.mode);
    if (rc == oci::SUCCESS || rc == oci::SUCCESS_WITH_INFO)
        rc = mApi.AttrSet(service, oci::HTYPE_SVCCTX, session, 0, oci::ATTR_SESSION, error);
    if (std::optional<OraError> failure = OciFailure(mApi, rc, error)) {
        (void)mApi.ServerDetach(server, error, oci::DEFAULT);
        throw *failure;
    }
    mServer = server;
    mSession = session;
    mService = service;
}

std::optional<OraError> OciDatabase::endSession(OCISvcCtx* service) {
    OCIError* error = mError.get();
    std::optional<OraError> failure =
        OciFailure(mApi, mApi.SessionEnd(service, error, mSession, oci::DEFAULT), error);
    const std::optional<OraError> detached =
        OciFailure(mApi, mApi.ServerDetach(mServer, error, oci::DEFAULT), error);
    if (!failure)
        failure = detached;
    (void)mApi.HandleFree(std::exchange(mSession, nullptr), oci::HTYPE_SESSION);
    (void)mApi.HandleFree(service, oci::HTYPE_SVCCTX);
    (void)mApi.HandleFree(std::exchange(mServer, nullptr), oci::HTYPE_SERVER);
    return failure;
}

} // namespace ora::binding
