// Attributes and select-list descriptors.

#include <cstring>
#include <type_traits>

#include "src/export.h"
#include "src/handles.h"

namespace {

template <typename T> sword put(void* attributep, ub4* sizep, T value) {
    std::memcpy(attributep, &value, sizeof value);
    if (sizep != nullptr) {
        *sizep = sizeof value;
    }
    return oci::SUCCESS;
}

sword statementAttribute(const Statement& statement, void* attributep, ub4* sizep, ub4 attribute,
                         ErrorHandle* errors) {
    switch (attribute) {
    case oci::ATTR_STMT_TYPE:
        return put<ub2>(attributep, sizep, statement.prepared ? statement.parsed.type : 0);
    case oci::ATTR_PARAM_COUNT:
        return put<ub4>(attributep, sizep,
                        statement.described ? static_cast<ub4>(statement.query()->items.size())
                                            : 0);
    case oci::ATTR_ROWS_FETCHED:
        return put<ub4>(attributep, sizep, statement.rowsFetched);
    case oci::ATTR_PREFETCH_ROWS:
        return put<ub4>(attributep, sizep, statement.prefetchRows);
    default:
        return fail(errors, ora::IllegalAttribute);
    }
}

sword paramAttribute(const Param& param, void* attributep, ub4* sizep, ub4 attribute,
                     ErrorHandle* errors) {
    switch (attribute) {
    case oci::ATTR_DATA_TYPE:
        return put<ub2>(attributep, sizep, param.type);
    case oci::ATTR_DATA_SIZE:
        return put<ub2>(attributep, sizep, param.dataSize);
    case oci::ATTR_CHAR_SIZE:
        return put<ub2>(attributep, sizep, param.charSize);
    case oci::ATTR_NAME:
        if (sizep == nullptr) {
            return fail(errors, ora::IllegalAttribute);
        }
        *static_cast<const OraText**>(attributep) =
            reinterpret_cast<const OraText*>(param.name.data());
        *sizep = static_cast<ub4>(param.name.size());
        return oci::SUCCESS;
    default:
        return fail(errors, ora::IllegalAttribute);
    }
}

} // namespace

STANDIN_EXPORT sword OCIAttrGet(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep,
                                ub4 attrtype, OCIError* errhp) {
    ErrorHandle* errors = errorsFor(errhp);
    if ((errhp != nullptr && errors == nullptr) || attributep == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (trghndltyp == oci::HTYPE_STMT) {
        if (const Statement* statement = lookup<Statement>(trgthndlp)) {
            return statementAttribute(*statement, attributep, sizep, attrtype, errors);
        }
    } else if (trghndltyp == oci::DTYPE_PARAM) {
        if (const Param* param = lookup<Param>(trgthndlp)) {
            return paramAttribute(*param, attributep, sizep, attrtype, errors);
        }
    } else if (trgthndlp != nullptr) {
        return fail(errors, ora::IllegalAttribute);
    }
    return oci::INVALID_HANDLE;
}

STANDIN_EXPORT sword OCIAttrSet(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size,
                                ub4 attrtype, OCIError* errhp) {
    ErrorHandle* errors = errorsFor(errhp);
    if ((errhp != nullptr && errors == nullptr) || trgthndlp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    Statement* statement = trghndltyp == oci::HTYPE_STMT ? lookup<Statement>(trgthndlp) : nullptr;
    if (statement != nullptr && attrtype == oci::ATTR_PREFETCH_ROWS && attributep != nullptr) {
        // How many rows each round trip brings at least, the execute's included.
        std::memcpy(&statement->prefetchRows, attributep, sizeof(ub4));
        return oci::SUCCESS;
    }
    Service* service = trghndltyp == oci::HTYPE_SVCCTX ? lookup<Service>(trgthndlp) : nullptr;
    if (service != nullptr && attrtype == oci::ATTR_CALL_TIMEOUT && attributep != nullptr) {
        std::memcpy(&service->callTimeoutMs, attributep, sizeof(ub4));
        return oci::SUCCESS;
    }
    // Logging on by hand: the server and session go onto the service context, the
    // credentials onto the session.
    if (service != nullptr && attrtype == oci::ATTR_SERVER) {
        if (ServerHandle* server = lookup<ServerHandle>(attributep)) {
            service->server = server;
            return oci::SUCCESS;
        }
        return oci::INVALID_HANDLE;
    }
    if (service != nullptr && attrtype == oci::ATTR_SESSION) {
        if (UserSession* session = lookup<UserSession>(attributep)) {
            service->session = session;
            return oci::SUCCESS;
        }
        return oci::INVALID_HANDLE;
    }
    UserSession* session =
        trghndltyp == oci::HTYPE_SESSION ? lookup<UserSession>(trgthndlp) : nullptr;
    if (session != nullptr && (attrtype == oci::ATTR_USERNAME || attrtype == oci::ATTR_PASSWORD)) {
        const std::string text = attributep == nullptr
                                     ? std::string()
                                     : std::string(static_cast<const char*>(attributep), size);
        (attrtype == oci::ATTR_USERNAME ? session->user : session->password) = text;
        return oci::SUCCESS;
    }
    return fail(errors, ora::IllegalAttribute);
}

STANDIN_EXPORT sword OCIParamGet(const void* hndlp, ub4 htype, OCIError* errhp, void** parmdpp,
                                 ub4 pos) {
    ErrorHandle* errors = errorsFor(errhp);
    Statement* statement = htype == oci::HTYPE_STMT ? lookup<Statement>(hndlp) : nullptr;
    if (errors == nullptr || statement == nullptr || parmdpp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!statement->described) {
        return fail(errors, ora::NotExecuted);
    }
    const auto& items = statement->query()->items;
    if (pos < 1 || pos > items.size()) {
        return fail(errors, ora::NoDescriptor);
    }
    const SelectItem& item = items[pos - 1];
    const ColumnInfo& info = item.type;
    auto param = std::make_unique<Param>();
    param->owner = statement;
    param->type = info.sqlType;
    param->dataSize = info.dataSize;
    if (item.nvl) {
        // NVL's result is as wide as the wider of its two arguments.
        param->dataSize = std::max<ub2>(param->dataSize, static_cast<ub2>(item.nvl->size()));
    }
    param->charSize = info.kind == ColumnKind::Text ? param->dataSize : 0;
    param->name = item.name;
    *parmdpp = static_cast<Handle*>(param.get());
    statement->params.push_back(std::move(param));
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIDescriptorFree(void* descp, ub4 type) {
    Param* param = type == oci::DTYPE_PARAM ? lookup<Param>(descp) : nullptr;
    if (param == nullptr) {
        return oci::INVALID_HANDLE;
    }
    eraseOwned(param->owner->params, param);
    return oci::SUCCESS;
}

static_assert(std::is_same_v<decltype(&OCIAttrGet), OCIAttrGet_t*>);
static_assert(std::is_same_v<decltype(&OCIAttrSet), OCIAttrSet_t*>);
static_assert(std::is_same_v<decltype(&OCIParamGet), OCIParamGet_t*>);
static_assert(std::is_same_v<decltype(&OCIDescriptorFree), OCIDescriptorFree_t*>);
