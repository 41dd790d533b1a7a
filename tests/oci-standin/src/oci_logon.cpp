// Logging on and off: OCILogon2, or OCIServerAttach with OCISessionBegin.

#include <chrono>
#include <string_view>
#include <thread>
#include <type_traits>
#include <variant>

#include "src/export.h"
#include "src/handles.h"
#include "src/runtime.h"

namespace {

std::string_view textOf(const OraText* text, ub4 length) {
    return text == nullptr ? std::string_view{}
                           : std::string_view(reinterpret_cast<const char*>(text), length);
}

constexpr ub4 kAdminModes =
    oci::SYSDBA | oci::SYSOPER | oci::SYSASM | oci::SYSBKP | oci::SYSDGD | oci::SYSKMT;

// What the log names a privilege by, as a user ID asks for it.
std::string privilegeText(ub4 mode) {
    constexpr std::pair<ub4, std::string_view> kNames[] = {
        {oci::SYSDBA, "SYSDBA"},    {oci::SYSOPER, "SYSOPER"}, {oci::SYSASM, "SYSASM"},
        {oci::SYSBKP, "SYSBACKUP"}, {oci::SYSDGD, "SYSDG"},    {oci::SYSKMT, "SYSKM"}};
    std::string text;
    for (const auto& [bit, name] : kNames) {
        if ((mode & bit) != 0) {
            text += " AS ";
            text += name;
        }
    }
    return text;
}

// The account a logon gets, with what it may do in this session, or the error the server
// answers. `user` is empty for external credentials.
std::variant<sb4, User> authenticate(std::string_view user, std::string_view password,
                                     bool external, ub4 mode) {
    const Instance& instance = runtime().instance;
    const User* account = external ? instance.externalUser() : instance.findUser(user);
    if (account == nullptr || (!external && account->password != password)) {
        return ora::LogonDenied;
    }
    const ub4 asked = mode & kAdminModes;
    if (asked == 0) {
        // SYS works only with an administrative privilege.
        if (!external && upperAscii(user) == "SYS") {
            return ora::SysNeedsPrivilege;
        }
        return *account;
    }
    if ((account->adminModes & asked) != asked) {
        return ora::InsufficientPrivileges;
    }
    User session = *account;
    if ((asked & oci::SYSDBA) != 0) {
        // SYSDBA connects as SYS, which may do everything.
        session.mayReadSessions = true;
        session.mayReadGlobalViews = true;
        session.mayReadCatalog = true;
        session.mayAlterSystem = true;
    }
    return session;
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
    auto account = authenticate(user, textOf(password, passwd_len), false, oci::DEFAULT);
    if (const sb4* error = std::get_if<sb4>(&account)) {
        return fail(errors, *error);
    }
    auto service = std::make_unique<Service>();
    service->env = env;
    service->loggedOn = true;
    service->user = std::get<User>(account);
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

STANDIN_EXPORT sword OCIServerAttach(OCIServer* srvhp, OCIError* errhp, const OraText* dblink,
                                     sb4 dblink_len, ub4 /*mode*/) {
    ServerHandle* server = lookup<ServerHandle>(srvhp);
    ErrorHandle* errors = errorsFor(errhp);
    if (server == nullptr || errors == nullptr || dblink_len < 0) {
        return oci::INVALID_HANDLE;
    }
    const std::string_view connect = textOf(dblink, static_cast<ub4>(dblink_len));
    if (!runtime().instance.accepts(connect)) {
        return fail(errors, ora::CannotResolve);
    }
    server->attached = true;
    server->connect.assign(connect);
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIServerDetach(OCIServer* srvhp, OCIError* errhp, ub4 /*mode*/) {
    ServerHandle* server = lookup<ServerHandle>(srvhp);
    ErrorHandle* errors = errorsFor(errhp);
    if (server == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!server->attached) {
        return fail(errors, ora::NotConnected);
    }
    server->attached = false;
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCISessionBegin(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp,
                                     ub4 credt, ub4 mode) {
    Service* service = lookup<Service>(svchp);
    UserSession* session = lookup<UserSession>(usrhp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || session == nullptr || errors == nullptr || service->loggedOn ||
        (credt != oci::CRED_RDBMS && credt != oci::CRED_EXT)) {
        return oci::INVALID_HANDLE;
    }
    ServerHandle* server = lookup<ServerHandle>(service->server);
    if (server == nullptr || !server->attached) {
        return fail(errors, ora::NotConnected);
    }
    const bool external = credt == oci::CRED_EXT;
    Runtime& state = runtime();
    state.logEvent("LOGON", (external ? std::string("/") : session->user) + "@" + server->connect +
                                privilegeText(mode));
    ++state.roundTrips;
    auto account = authenticate(session->user, session->password, external, mode);
    if (const sb4* error = std::get_if<sb4>(&account)) {
        return fail(errors, *error);
    }
    session->begun = true;
    service->session = session;
    service->user = std::get<User>(account);
    service->loseAfter = state.instance.faults.loseConnectionAfter;
    service->roundTrips = 0;
    service->dead = false;
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCISessionEnd(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp,
                                   ub4 /*mode*/) {
    Service* service = lookup<Service>(svchp);
    UserSession* session = lookup<UserSession>(usrhp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || session == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!session->begun || service->session != session) {
        return fail(errors, ora::NotConnected);
    }
    runtime().logEvent("LOGOFF", {});
    const std::optional<sb4> lost = service->roundTrip();
    session->begun = false;
    return lost ? fail(errors, *lost) : oci::SUCCESS;
}

static_assert(std::is_same_v<decltype(&OCILogon2), OCILogon2_t*>);
static_assert(std::is_same_v<decltype(&OCILogoff), OCILogoff_t*>);
static_assert(std::is_same_v<decltype(&OCIServerAttach), OCIServerAttach_t*>);
static_assert(std::is_same_v<decltype(&OCIServerDetach), OCIServerDetach_t*>);
static_assert(std::is_same_v<decltype(&OCISessionBegin), OCISessionBegin_t*>);
static_assert(std::is_same_v<decltype(&OCISessionEnd), OCISessionEnd_t*>);
