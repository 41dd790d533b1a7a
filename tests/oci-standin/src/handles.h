#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "oci_api.h"
#include "src/instance.h"
#include "src/ora_error.h"
#include "src/sql.h"

// Every OCI handle the stand-in gives out is one of these structs. The caller's pointer is
// trusted as a real client trusts it: a freed handle's memory is really freed, so a later use
// reads freed memory, which AddressSanitizer reports, instead of getting a friendly
// OCI_INVALID_HANDLE that would hide the fault. Only a null pointer or a handle of another
// kind is answered with OCI_INVALID_HANDLE.
enum class Kind : ub4 {
    Env = oci::HTYPE_ENV,
    Error = oci::HTYPE_ERROR,
    Service = oci::HTYPE_SVCCTX,
    Statement = oci::HTYPE_STMT,
    Define = 6, // OCI_HTYPE_DEFINE; never freed by the caller
    Server = oci::HTYPE_SERVER,
    UserSession = oci::HTYPE_SESSION,
    Param = oci::DTYPE_PARAM,
};

struct Handle {
    explicit Handle(Kind handleKind) : kind(handleKind) {}
    ~Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    const Kind kind;
};

template <typename T> T* lookup(const void* pointer) {
    if (pointer == nullptr) {
        return nullptr;
    }
    auto* handle = static_cast<Handle*>(const_cast<void*>(pointer));
    return handle->kind == T::kKind ? static_cast<T*>(handle) : nullptr;
}

// The opaque pointer handed to the caller; lookup() turns it back.
template <typename Oci> Oci* toOci(Handle* handle) {
    return static_cast<Oci*>(static_cast<void*>(handle));
}

template <typename T> bool eraseOwned(std::vector<std::unique_ptr<T>>& owned, const T* item) {
    auto found = std::find_if(owned.begin(), owned.end(),
                              [item](const std::unique_ptr<T>& p) { return p.get() == item; });
    if (found == owned.end()) {
        return false;
    }
    owned.erase(found);
    return true;
}

struct ErrorRecord {
    sb4 code = 0; // 0: no error
    std::string message;
};

struct ErrorHandle : Handle {
    static constexpr Kind kKind = Kind::Error;
    ErrorHandle() : Handle(kKind) {}
    ErrorRecord record;
};

// The caller's error handle, its record cleared: each OCI call starts without an error.
ErrorHandle* errorsFor(const void* errhp);

// Fails the current call with `error`, recorded on the caller's error handle.
sword fail(ErrorHandle* errors, sb4 code, std::string_view detail = {});
sword fail(ErrorHandle* errors, OraError error);

struct Define : Handle {
    static constexpr Kind kKind = Kind::Define;
    Define() : Handle(kKind) {}
    std::size_t item = 0; // select-list index
    char* values = nullptr;
    sb8 valueSize = 0;
    ub2 type = 0;
    sb2* indicators = nullptr;
    ub4* lengths = nullptr;
    ub2* codes = nullptr;
};

struct Statement;

struct Param : Handle {
    static constexpr Kind kKind = Kind::Param;
    Param() : Handle(kKind) {}
    Statement* owner = nullptr;
    ub2 type = 0;
    ub2 dataSize = 0;
    ub2 charSize = 0;
    std::string name;
};

struct Service;

struct Statement : Handle {
    static constexpr Kind kKind = Kind::Statement;
    Statement() : Handle(kKind) {}

    const SessionQuery* query() const { return std::get_if<SessionQuery>(&parsed.body); }

    Service* service = nullptr; // null when allocated with OCIHandleAlloc
    bool prepared = false;
    std::string text;
    ParsedStatement parsed;
    ub4 prefetchRows = 1;

    bool described = false;     // a SELECT has been executed
    bool cursorOpen = false;    // rows remain to be fetched
    std::vector<RowPtr> rows;   // the result set, fixed at execute
    std::vector<Cell> computed; // the subqueries' values, row after row
    std::size_t next = 0;       // the first row not yet handed to the caller
    std::size_t buffered = 0;   // rows from `next` on that already came over the network
    bool serverDone = false;    // the server has said there are no more rows
    ub4 rowsFetched = 0;

    std::vector<std::unique_ptr<Define>> defines; // index: position - 1
    std::vector<std::unique_ptr<Param>> params;
};

struct Env;

// A server handle: the connection OCIServerAttach makes to the connect string's database.
struct ServerHandle : Handle {
    static constexpr Kind kKind = Kind::Server;
    ServerHandle() : Handle(kKind) {}
    bool attached = false;
    std::string connect;
};

// A session handle: the credentials set on it, and whether OCISessionBegin began it.
struct UserSession : Handle {
    static constexpr Kind kKind = Kind::UserSession;
    UserSession() : Handle(kKind) {}
    std::string user;
    std::string password;
    bool begun = false;
};

struct Service : Handle {
    static constexpr Kind kKind = Kind::Service;
    Service() : Handle(kKind) {}

    // Counts a server round trip on this connection; gives the error the call must fail
    // with when the connection is (or just got) lost.
    std::optional<sb4> roundTrip();

    // Logged on: by OCILogon2, or by OCISessionBegin on a service from OCIHandleAlloc.
    bool connected() const {
        const UserSession* begun = lookup<UserSession>(session);
        return loggedOn || (begun != nullptr && begun->begun);
    }

    Env* env = nullptr;
    bool loggedOn = false;          // from OCILogon2, as opposed to a bare OCIHandleAlloc
    ServerHandle* server = nullptr; // OCI_ATTR_SERVER
    UserSession* session = nullptr; // OCI_ATTR_SESSION, or the one OCISessionBegin began
    bool dead = false;
    User user;
    std::optional<unsigned long> loseAfter;
    unsigned long roundTrips = 0;
    ub4 callTimeoutMs = 0;     // OCI_ATTR_CALL_TIMEOUT, 0: none
    bool breakPending = false; // set by OCIBreak from another thread; see interrupt.h
    bool inCall = false;       // a call waits on the server; see interrupt.h
    bool staleBreak = false;   // a break that ended no call (fault idle-break)
    std::vector<std::unique_ptr<Statement>> statements; // from OCIStmtPrepare2
};

struct Env : Handle {
    static constexpr Kind kKind = Kind::Env;
    Env() : Handle(kKind) {}
    ErrorRecord record;
    // Children go with the environment, as OCI frees a parent's children with it.
    std::vector<std::unique_ptr<ErrorHandle>> errors;
    std::vector<std::unique_ptr<Service>> services;
    std::vector<std::unique_ptr<Statement>> statements; // from OCIHandleAlloc
    std::vector<std::unique_ptr<ServerHandle>> servers;
    std::vector<std::unique_ptr<UserSession>> sessions;
};
