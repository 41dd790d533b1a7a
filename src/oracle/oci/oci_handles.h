#pragma once

#include "oracle/oci/oci_library.h"

#include <QByteArray>
#include <utility>

namespace ora::binding {

// Owns a handle allocated by OCIEnvNlsCreate or OCIHandleAlloc and frees it with
// OCIHandleFree. Freeing an environment also frees every handle under it.
template <typename T, ub4 Type> class OciHandle final {
public:
    explicit OciHandle(const OciApi& api) : mApi(&api) {}
    Q_DISABLE_COPY_MOVE(OciHandle)
    ~OciHandle() { reset(); }

    T* get() const { return mHandle; }
    // Where the allocating call stores the new handle.
    T** out() { return &mHandle; }
    void reset() {
        if (mHandle)
            mApi->HandleFree(std::exchange(mHandle, nullptr), Type);
    }

private:
    const OciApi* mApi;
    T* mHandle = nullptr;
};

using EnvHandle = OciHandle<OCIEnv, oci::HTYPE_ENV>;
using ErrorHandle = OciHandle<OCIError, oci::HTYPE_ERROR>;

// A prepared statement; released with OCIStmtRelease, which also frees its define handles.
class OciStatement final {
public:
    // Prepares sql (UTF-8) on the connection; throws OraError on failure.
    OciStatement(const OciApi& api, OCISvcCtx* service, OCIError* error, const QByteArray& sql);
    Q_DISABLE_COPY_MOVE(OciStatement)
    ~OciStatement();

    OCIStmt* get() const { return mStatement; }

private:
    const OciApi& mApi;
    OCIError* mError;
    OCIStmt* mStatement = nullptr;
};

// A column description from OCIParamGet, freed with OCIDescriptorFree.
class OciParam final {
public:
    OciParam(const OciApi& api, OCIStmt* statement, OCIError* error, ub4 position);
    Q_DISABLE_COPY_MOVE(OciParam)
    ~OciParam();

    // A ub2 attribute of the column (data type, sizes).
    ub2 attributeUb2(ub4 attribute) const;

private:
    const OciApi& mApi;
    OCIError* mError;
    void* mParam = nullptr;
};

} // namespace ora::binding
