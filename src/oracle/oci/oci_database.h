#pragma once

#include "oracle/database.h"
#include "oracle/oci/oci_handles.h"

#include <mutex>
#include <optional>

namespace ora::binding {

struct OciCredentials;

// One logged-on connection with its own AL32UTF8 environment.
class OciDatabase final : public OraDatabase {
public:
    Q_DISABLE_COPY_MOVE(OciDatabase)
    // Logs on; throws OraError (e.g. ORA-01017) with nothing left allocated.
    static std::unique_ptr<OciDatabase> Open(const OciApi& api, const QString& databaseName,
                                             const QString& connect);
    ~OciDatabase() override;

    std::unique_ptr<OraDynaset> DbCreateDynaset(const QString& sql, qint32 options) override;
    qint64 ExecuteSQL(const QString& sql) override;
    // Logs off and frees the handles. A failed log-off (a lost connection) is reported after
    // everything is freed; closing again does nothing.
    void Close() override;
    void Break() override;
    void Reset() override;

private:
    explicit OciDatabase(const OciApi& api);
    OCISvcCtx* connectedService() const;
    // Logs on with OCIServerAttach and OCISessionBegin: what an administrative privilege or
    // external credentials need, which OCILogon2 cannot ask for.
    void beginSession(const OciCredentials& credentials, const QByteArray& database);
    // Ends what beginSession began on `service`; the first failure is returned once
    // everything is freed.
    std::optional<OraError> endSession(OCISvcCtx* service);

    const OciApi& mApi;
    EnvHandle mEnv;
    ErrorHandle mError;
    // The break comes from another thread while a call uses mError.
    ErrorHandle mBreakError;
    // Guards mService between the calls' thread, which logs off, and a break.
    std::mutex mServiceMutex;
    OCISvcCtx* mService = nullptr; // freed by OCILogoff, or with the environment
    // Set when beginSession logged on; freed by endSession, or with the environment.
    OCIServer* mServer = nullptr;
    OCISession* mSession = nullptr;
};

} // namespace ora::binding
