#pragma once

#include "oracle/oci/api/oci_api.h"

#include <QString>

namespace ora::binding {

// The OCI entry points the binding calls, resolved once after the library is loaded.
struct OciApi {
    OCIEnvNlsCreate_t* EnvNlsCreate = nullptr;
    OCIHandleAlloc_t* HandleAlloc = nullptr;
    OCIHandleFree_t* HandleFree = nullptr;
    OCIErrorGet_t* ErrorGet = nullptr;
    OCIAttrGet_t* AttrGet = nullptr;
    OCIAttrSet_t* AttrSet = nullptr;
    OCILogon2_t* Logon2 = nullptr;
    OCILogoff_t* Logoff = nullptr;
    OCIStmtPrepare2_t* StmtPrepare2 = nullptr;
    OCIStmtRelease_t* StmtRelease = nullptr;
    OCIStmtExecute_t* StmtExecute = nullptr;
    OCIParamGet_t* ParamGet = nullptr;
    OCIDescriptorFree_t* DescriptorFree = nullptr;
    OCIDefineByPos2_t* DefineByPos2 = nullptr;
    OCIStmtFetch2_t* StmtFetch2 = nullptr;
    OCIBreak_t* Break = nullptr;
    // Optional: without it a break that came after its call is left to the server.
    OCIReset_t* Reset = nullptr;
    OCIServerAttach_t* ServerAttach = nullptr;
    OCIServerDetach_t* ServerDetach = nullptr;
    OCISessionBegin_t* SessionBegin = nullptr;
    OCISessionEnd_t* SessionEnd = nullptr;
    // Optional: clients without it are older than any that knows call time-outs.
    OCIClientVersion_t* ClientVersion = nullptr;
};

// The Oracle client library, loaded on first use and kept for the life of the process (the
// client keeps threads and caches that do not survive an unload).
class OciLibrary final {
public:
    Q_DISABLE_COPY_MOVE(OciLibrary)
    // The loaded library. Throws OraError naming the library and the loader's reason when it
    // cannot be loaded; a later call tries again.
    static const OciLibrary& instance();

    const OciApi& api() const { return mApi; }
    // The file name the library was found under.

private:
    OciLibrary(void* handle, QString fileName);
    template <typename F> void resolve(F*& slot, const char* name);

    void* mHandle;
    QString mFileName;
    OciApi mApi;
};

} // namespace ora::binding
