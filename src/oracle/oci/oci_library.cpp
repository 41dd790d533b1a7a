#include "oracle/oci/oci_library.h"

#include "oracle/database.h"

#include <QStringList>
#include <cstdlib>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace ora::binding {

namespace {

#ifdef _WIN32
const char* const kPrimaryName = "oci.dll";

QString lastLoaderError() {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = QString::fromWCharArray(text, static_cast<int>(length)).trimmed();
    LocalFree(text);
    return message;
}

void* openLibrary(const std::string& name) {
    return reinterpret_cast<void*>(LoadLibraryA(name.c_str()));
}

void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
#else
const char* const kPrimaryName = "libclntsh.so";

QString lastLoaderError() {
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}

// Lazy binding, as Oracle's own drivers load the client: it references optional libraries
// that need not be present until used.
void* openLibrary(const std::string& name) {
    return dlopen(name.c_str(), RTLD_LAZY);
}

void* findSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
#endif

// What a user without a loadable client installs and sets.
const char* const kClientSetUp =
    "Oracle Instant Client Basic をインストールして、そのフォルダを LD_LIBRARY_PATH に"
    "設定するか、Oracle クライアントのフォルダを ORACLE_HOME に設定してください。";

// Names every file tried, so that a user can see where the client was looked for, and what to do.
QString libraryNotLoaded(const std::vector<std::string>& tried, const QString& reason) {
    QStringList names;
    for (const std::string& name : tried)
        names << QString::fromLocal8Bit(name.c_str());
    return QStringLiteral("Oracle クライアント ライブラリ (%1) を読み込めません: %2。%3")
        .arg(names.join(QStringLiteral(", ")), reason, QString::fromUtf8(kClientSetUp));
}

} // namespace

std::vector<std::string> OciLibraryCandidates(const char* oracleHome) {
#ifdef _WIN32
    (void)oracleHome;
    return {kPrimaryName};
#else
    std::vector<std::string> names{kPrimaryName};
    // 12.1 is the oldest client with OCIDefineByPos2, which the binding needs.
    for (const char* version : {"19.1", "18.1", "12.1", "20.1", "21.1"})
        names.push_back(std::string(kPrimaryName) + "." + version);
    if (oracleHome && *oracleHome)
        names.push_back(std::string(oracleHome) + "/lib/" + kPrimaryName);
    return names;
#endif
}

OciLibrary::OciLibrary(void* handle, std::string fileName)
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
    mApi.ClientVersion =
        reinterpret_cast<OCIClientVersion_t*>(findSymbol(mHandle, "OCIClientVersion"));
}

template <typename F> void OciLibrary::resolve(F*& slot, const char* name) {
    void* symbol = findSymbol(mHandle, name);
    if (!symbol) {
        throw OraError(
            QStringLiteral("Oracle クライアント ライブラリ (%1) に関数 %2 がありません")
                .arg(QString::fromLocal8Bit(mFileName.c_str()), QString::fromUtf8(name)));
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
    const std::vector<std::string> candidates = OciLibraryCandidates(std::getenv("ORACLE_HOME"));
    for (const std::string& name : candidates) {
        if (void* handle = openLibrary(name)) {
            // Never unloaded, also when a symbol is missing: the client may have started threads.
            loaded = new OciLibrary(handle, name);
            return *loaded;
        }
        if (firstReason.isEmpty())
            firstReason = lastLoaderError();
    }
    throw OraError(libraryNotLoaded(candidates, firstReason));
}

} // namespace ora::binding
