// Environment, handle and error calls.

#include <cstring>
#include <type_traits>

#include "src/export.h"
#include "src/handles.h"
#include "src/runtime.h"

STANDIN_EXPORT sword OCIEnvNlsCreate(OCIEnv** envhpp, ub4 /*mode*/, void* /*ctxp*/,
                                     void* (* /*malocfp*/)(void*, size_t),
                                     void* (* /*ralocfp*/)(void*, void*, size_t),
                                     void (* /*mfreefp*/)(void*, void*), size_t xtramemsz,
                                     void** /*usrmempp*/, ub2 charset, ub2 /*ncharset*/) {
    if (envhpp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    *envhpp = nullptr;
    Runtime& state = runtime();
    state.ensureLoaded();
    // A broken fixture fails here, like a client that cannot start; the reason is on stderr.
    if (state.fixtureError || charset != oci::CHARSET_AL32UTF8 || xtramemsz != 0) {
        return oci::ERROR;
    }
    state.envs.push_back(std::make_unique<Env>());
    *envhpp = toOci<OCIEnv>(state.envs.back().get());
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIHandleAlloc(const void* parenth, void** hndlpp, ub4 type, size_t xtramem_sz,
                                    void** /*usrmempp*/) {
    Env* env = lookup<Env>(parenth);
    if (env == nullptr || hndlpp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (xtramem_sz != 0) {
        return oci::ERROR;
    }
    switch (type) {
    case oci::HTYPE_ERROR:
        env->errors.push_back(std::make_unique<ErrorHandle>());
        *hndlpp = static_cast<Handle*>(env->errors.back().get());
        return oci::SUCCESS;
    case oci::HTYPE_SVCCTX:
        // Not logged on; OCILogon2 makes its own service context.
        env->services.push_back(std::make_unique<Service>());
        env->services.back()->env = env;
        *hndlpp = static_cast<Handle*>(env->services.back().get());
        return oci::SUCCESS;
    case oci::HTYPE_STMT:
        env->statements.push_back(std::make_unique<Statement>());
        *hndlpp = static_cast<Handle*>(env->statements.back().get());
        return oci::SUCCESS;
    case oci::HTYPE_SERVER:
        env->servers.push_back(std::make_unique<ServerHandle>());
        *hndlpp = static_cast<Handle*>(env->servers.back().get());
        return oci::SUCCESS;
    case oci::HTYPE_SESSION:
        env->sessions.push_back(std::make_unique<UserSession>());
        *hndlpp = static_cast<Handle*>(env->sessions.back().get());
        return oci::SUCCESS;
    default:
        return oci::INVALID_HANDLE;
    }
}

namespace {
// Frees a handle kept in one of the environments' lists of its kind.
template <typename T> sword freeOwned(void* hndlp, std::vector<std::unique_ptr<T>> Env::*list) {
    for (auto& env : runtime().envs) {
        if (eraseOwned((*env).*list, lookup<T>(hndlp))) {
            return oci::SUCCESS;
        }
    }
    return oci::INVALID_HANDLE;
}
} // namespace

// Each handle goes back through the call that matches how it was made: statements from
// OCIStmtPrepare2 through OCIStmtRelease, logged-on service contexts through OCILogoff.
// Freeing one of those here is refused with OCI_ERROR.
STANDIN_EXPORT sword OCIHandleFree(void* hndlp, ub4 type) {
    if (hndlp == nullptr || static_cast<Handle*>(hndlp)->kind != static_cast<Kind>(type)) {
        return oci::INVALID_HANDLE;
    }
    switch (type) {
    case oci::HTYPE_ENV:
        eraseOwned(runtime().envs, lookup<Env>(hndlp));
        return oci::SUCCESS;
    case oci::HTYPE_ERROR:
        for (auto& env : runtime().envs) {
            if (eraseOwned(env->errors, lookup<ErrorHandle>(hndlp))) {
                return oci::SUCCESS;
            }
        }
        return oci::INVALID_HANDLE;
    case oci::HTYPE_SVCCTX: {
        Service* service = lookup<Service>(hndlp);
        if (service->loggedOn) {
            return oci::ERROR;
        }
        eraseOwned(service->env->services, service);
        return oci::SUCCESS;
    }
    // A server still attached, or a session still begun, is refused: detach or end it first.
    case oci::HTYPE_SERVER:
        if (lookup<ServerHandle>(hndlp)->attached) {
            return oci::ERROR;
        }
        return freeOwned(hndlp, &Env::servers);
    case oci::HTYPE_SESSION:
        if (lookup<UserSession>(hndlp)->begun) {
            return oci::ERROR;
        }
        return freeOwned(hndlp, &Env::sessions);
    case oci::HTYPE_STMT:
        for (auto& env : runtime().envs) {
            if (eraseOwned(env->statements, lookup<Statement>(hndlp))) {
                return oci::SUCCESS;
            }
        }
        return oci::ERROR;
    default:
        return oci::INVALID_HANDLE;
    }
}

STANDIN_EXPORT sword OCIErrorGet(void* hndlp, ub4 recordno, OraText* /*sqlstate*/, sb4* errcodep,
                                 OraText* bufp, ub4 bufsiz, ub4 type) {
    const ErrorRecord* record = nullptr;
    if (type == oci::HTYPE_ERROR) {
        if (auto* errors = lookup<ErrorHandle>(hndlp)) {
            record = &errors->record;
        }
    } else if (type == oci::HTYPE_ENV) {
        if (auto* env = lookup<Env>(hndlp)) {
            record = &env->record;
        }
    }
    if (record == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (recordno != 1 || record->code == 0) {
        return oci::NO_DATA;
    }
    if (errcodep != nullptr) {
        *errcodep = record->code;
    }
    if (bufp != nullptr && bufsiz > 0) {
        std::size_t length = std::min<std::size_t>(record->message.size(), bufsiz - 1);
        // Cut before a UTF-8 continuation byte so the text stays valid.
        while (length > 0 && length < record->message.size() &&
               (static_cast<unsigned char>(record->message[length]) & 0xC0) == 0x80) {
            --length;
        }
        std::memcpy(bufp, record->message.data(), length);
        bufp[length] = '\0';
    }
    return oci::SUCCESS;
}

STANDIN_EXPORT void OCIClientVersion(sword* featureRelease, sword* releaseUpdate,
                                     sword* releaseUpdateRevision, sword* increment, sword* ext) {
    const sword version[] = {19, 3, 0, 0, 0};
    sword* out[] = {featureRelease, releaseUpdate, releaseUpdateRevision, increment, ext};
    for (std::size_t i = 0; i < std::size(out); ++i) {
        if (out[i] != nullptr) {
            *out[i] = version[i];
        }
    }
}

static_assert(std::is_same_v<decltype(&OCIEnvNlsCreate), OCIEnvNlsCreate_t*>);
static_assert(std::is_same_v<decltype(&OCIHandleAlloc), OCIHandleAlloc_t*>);
static_assert(std::is_same_v<decltype(&OCIHandleFree), OCIHandleFree_t*>);
static_assert(std::is_same_v<decltype(&OCIErrorGet), OCIErrorGet_t*>);
static_assert(std::is_same_v<decltype(&OCIClientVersion), OCIClientVersion_t*>);
