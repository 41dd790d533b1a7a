#include "oracle/oci/oci_handles.h"

#include "oracle/oci/oci_error.h"

namespace ora::binding {

OciStatement::OciStatement(const OciApi& api, OCISvcCtx* service, OCIError* error,
                           const QByteArray& sql)
    : mApi(api), mError(error) {
    const sword rc = api.StmtPrepare2(
        service, &mStatement, error, reinterpret_cast<const OraText*>(sql.constData()),
        static_cast<ub4>(sql.size()), nullptr, 0, oci::NTV_SYNTAX, oci::DEFAULT);
    if (rc != oci::SUCCESS && rc != oci::SUCCESS_WITH_INFO && mStatement) {
        // A failed prepare may still hand out a statement; it has to go back all the same.
        mApi.StmtRelease(std::exchange(mStatement, nullptr), mError, nullptr, 0, oci::DEFAULT);
    }
    CheckOci(api, rc, error);
}

OciStatement::~OciStatement() {
    if (mStatement)
        mApi.StmtRelease(mStatement, mError, nullptr, 0, oci::DEFAULT);
}

OciParam::OciParam(const OciApi& api, OCIStmt* statement, OCIError* error, ub4 position)
    : mApi(api), mError(error) {
    const sword rc = api.ParamGet(statement, oci::HTYPE_STMT, error, &mParam, position);
    if (rc != oci::SUCCESS && rc != oci::SUCCESS_WITH_INFO && mParam)
        mApi.DescriptorFree(std::exchange(mParam, nullptr), oci::DTYPE_PARAM);
    CheckOci(api, rc, error);
}

OciParam::~OciParam() {
    if (mParam)
        mApi.DescriptorFree(mParam, oci::DTYPE_PARAM);
}

ub2 OciParam::attributeUb2(ub4 attribute) const {
    ub2 value = 0;
    CheckOci(mApi, mApi.AttrGet(mParam, oci::DTYPE_PARAM, &value, nullptr, attribute, mError),
             mError);
    return value;
}

} // namespace ora::binding
