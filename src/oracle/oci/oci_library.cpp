#include "oracle/oci/oci_library.h"

#include "oracle/database.h"
#include "platform/clientlibrary.h"

#include <QStringList>
#include <mutex>

namespace ora::binding {

namespace {

// Names every file tried, so that a user can see where the client was looked for, and what to do.
QString libraryNotLoaded(const QStringList& tried, const QString& reason) {
    return QStringLiteral("Oracle クライアント ライブラリ (%1) を読み込めません: %2。%3")
        .arg(tried.join(QStringLiteral(", ")), reason, platform::ClientSetUpAdvice());
}

} // namespace

OciLibrary::OciLibrary(void* handle, QString fileName)
    : mHandle(handle), mFileName(std::move(fileName)) {
    resolve(mApi.EnvNlsCreate, "OCIEnvNlsCreate");
    resolve(mApi.HandleAlloc, "OCIHandleAlloc");
    resolve(mApi.HandleFree, "OCIHandleFree");
    resolve(mApi.ErrorGet, "OCIErrorGet");
    resolve(mApi.AttrGet, "OCIAttrGet");
    resolve(mApi.AttrSet, "OCIAttrSet");
    resolve(mApi.Logon2, "OCILogon2");
    resolve(mApi.Logoff, "OCILogoff");
    resolve(mApi.StmtPrepare2, "OCIStmtPrepare2");
    resolve(mApi.StmtRelease, "OCIStmtRelease");
    resolve(mApi.StmtExecute, "OCIStmtExecute");
    resolve(mApi.ParamGet, "OCIParamGet");
    resolve(mApi.DescriptorFree, "OCIDescriptorFree");
    resolve(mApi.DefineByPos2, "OCIDefineByPos2");
    resolve(mApi.StmtFetch2, "OCIStmtFetch2");
    resolve(mApi.Break, "OCIBreak");
    resolve(mApi.ServerAttach, "OCIServerAttach");
    resolve(mApi.ServerDetach, "OCIServerDetach");
    resolve(mApi.SessionBegin, "OCISessionBegin");
    resolve(mApi.SessionEnd, "OCISessionEnd");
    mApi.Reset = reinterpret_cast<OCIReset_t*>(platform::LibrarySymbol(mHandle, "OCIReset"));
    mApi.ClientVersion =
        reinterpret_cast<OCIClientVersion_t*>(platform::LibrarySymbol(mHandle, "OCIClientVersion"));
}

template <typename F> void OciLibrary::resolve(F*& slot, const char* name) {
    void* symbol = platform::LibrarySymbol(mHandle, name);
    if (!symbol) {
        throw OraError(QStringLiteral("Oracle クライアント ライブラリ (%1) に関数 %2 がありません")
                           .arg(mFileName, QString::fromUtf8(name)));
    }
    slot = reinterpret_cast<F*>(symbol);
}

const OciLibrary& OciLibrary::instance() {
    static std::mutex mutex;
    static const OciLibrary* loaded = nullptr;
    const std::lock_guard lock(mutex);
    if (loaded)
        return *loaded;

    // The reason reported is the one for the plain name: it is the name an installed client
    // provides, and a missing dependency of the client (libaio, libnnz) shows up there.
    QString firstReason;
    const QStringList candidates =
        platform::OracleClientCandidates(qEnvironmentVariable("ORACLE_HOME"));
    for (const QString& name : candidates) {
        if (void* handle = platform::OpenLibrary(name)) {
            // Never unloaded, also when a symbol is missing: the client may have started threads.
            loaded = new OciLibrary(handle, name);
            return *loaded;
        }
        if (firstReason.isEmpty())
            firstReason = platform::LibraryLoadError();
    }
    throw OraError(libraryNotLoaded(candidates, firstReason));
}

} // namespace ora::binding
