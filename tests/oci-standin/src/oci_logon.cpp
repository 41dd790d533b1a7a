// Logging on and off.

#include <chrono>
#include <string_view>
#include <thread>
#include <type_traits>

#include "src/export.h"
#include "src/handles.h"
#include "src/runtime.h"

namespace {

std::string_view textOf(const OraText* text, ub4 length) {
    return text == nullptr ? std::string_view{}
                           : std::string_view(reinterpret_cast<const char*>(text), length);
}

} // namespace

STANDIN_EXPORT sword OCILogon2(OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchp,
                               const OraText* username, ub4 uname_len, const OraText* password,
                               ub4 passwd_len, const OraText* dbname, ub4 dbname_len,
                               ub4 /*mode*/) {
    Env* env = lookup<Env>(envhp);
    ErrorHandle* errors = errorsFor(errhp);
    if (env == nullptr || errors == nullptr || svchp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    Runtime& state = runtime();
    const std::string_view user = textOf(username, uname_len);
    const std::string_view connect = textOf(dbname, dbname_len);
    state.logEvent("LOGON", std::string(user) + "@" + std::string(connect));

    // The connect string is resolved on the client; no round trip when that fails.
    if (!state.instance.accepts(connect)) {
        return fail(errors, ora::CannotResolve);
    }
    // A host that does not answer: nothing ends the wait but its end.
    if (state.instance.faults.slowLogonMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(state.instance.faults.slowLogonMs));
    }
    ++state.roundTrips;
    const User* account = state.instance.findUser(user);
    if (account == nullptr || account->password != textOf(password, passwd_len)) {
        return fail(errors, ora::LogonDenied);
    }
    auto service = std::make_unique<Service>();
    service->env = env;
    service->loggedOn = true;
    service->user = *account;
    service->loseAfter = state.instance.faults.loseConnectionAfter;
    *svchp = toOci<OCISvcCtx>(service.get());
    env->services.push_back(std::move(service));
    return oci::SUCCESS;
}

// Frees the service context and its statements even when the connection is gone; the
// error then tells the caller the session did not end cleanly.
STANDIN_EXPORT sword OCILogoff(OCISvcCtx* svchp, OCIError* errhp) {
    Service* service = lookup<Service>(svchp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!service->loggedOn) {
        return fail(errors, ora::NotConnected);
    }
    runtime().logEvent("LOGOFF", {});
    const std::optional<sb4> lost = service->roundTrip();
    eraseOwned(service->env->services, service);
    return lost ? fail(errors, *lost) : oci::SUCCESS;
}

static_assert(std::is_same_v<decltype(&OCILogon2), OCILogon2_t*>);
static_assert(std::is_same_v<decltype(&OCILogoff), OCILogoff_t*>);
