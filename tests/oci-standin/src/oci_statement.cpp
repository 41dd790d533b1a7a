// Preparing, executing and releasing statements.

#include <chrono>
#include <thread>
#include <type_traits>

#include "src/export.h"
#include "src/fetch.h"
#include "src/interrupt.h"
#include "src/query.h"
#include "src/runtime.h"

namespace {

sword runQuery(Statement& statement, const Service& service, ErrorHandle* errors, ub4 iters) {
    const SessionQuery& query = *statement.query();
    // Without the grant the view's synonym resolves to nothing the user can see.
    if (!service.user.mayReadSessions ||
        (query.readsGlobalView && !service.user.mayReadGlobalViews) ||
        (query.readsCatalog && !service.user.mayReadCatalog)) {
        return fail(errors, ora::NoSuchTable);
    }
    {
        ProduceTimer timer;
        if (auto error =
                runSessionQuery(query, runtime().instance, statement.rows, statement.computed)) {
            statement.rows.clear();
            statement.computed.clear();
            return fail(errors, std::move(*error));
        }
    }
    statement.described = true;
    statement.cursorOpen = true;
    // The execute's round trip brings the prefetched rows, and with iters > 0 also fetches
    // that many rows, as OCI does.
    transferRows(statement, iters);
    return iters > 0 ? fetchRows(statement, errors, iters) : oci::SUCCESS;
}

// What the server answers when a session was to end.
sword answerTo(KillOutcome outcome, ErrorHandle* errors) {
    switch (outcome) {
    case KillOutcome::NoSuchSession:
        return fail(errors, ora::SessionIdNotFound);
    case KillOutcome::Marked:
        return fail(errors, ora::MarkedForKill);
    case KillOutcome::Ended:
        break;
    }
    return oci::SUCCESS;
}

sword killSession(const KillSession& kill, const Service& service, ErrorHandle* errors) {
    if (!service.user.mayAlterSystem) {
        return fail(errors, ora::InsufficientPrivileges);
    }
    if (!kill.target) {
        return fail(errors, ora::MissingSessionId);
    }
    Runtime& state = runtime();
    if (const sword rc = answerTo(state.instance.kill(*kill.target, kill.immediate), errors);
        rc != oci::SUCCESS) {
        return rc;
    }
    // The session still goes; the caller only learns it did not end within the wait.
    if (state.instance.faults.killMarksOnly) {
        return fail(errors, ora::MarkedForKill);
    }
    return oci::SUCCESS;
}

sword disconnectSession(const DisconnectSession& disconnect, const Service& service,
                        ErrorHandle* errors) {
    if (!service.user.mayAlterSystem) {
        return fail(errors, ora::InsufficientPrivileges);
    }
    if (!disconnect.target) {
        return fail(errors, ora::MissingSessionId);
    }
    return answerTo(runtime().instance.disconnect(*disconnect.target, disconnect.postTransaction),
                    errors);
}

sword cancelSql(const CancelSql& cancel, const Service& service, ErrorHandle* errors) {
    if (!service.user.mayAlterSystem) {
        return fail(errors, ora::InsufficientPrivileges);
    }
    if (!cancel.target) {
        return fail(errors, ora::MissingSessionId);
    }
    const Faults& faults = runtime().instance.faults;
    switch (runtime().instance.cancel(*cancel.target)) {
    case CancelOutcome::NoSuchSession:
        return fail(errors, ora::SessionIdNotFound);
    case CancelOutcome::Idle:
        if (faults.cancelIdleCode != 0) {
            return fail(errors, OraError{faults.cancelIdleCode, faults.cancelIdleMessage});
        }
        break;
    case CancelOutcome::Cancelled:
        break;
    }
    return oci::SUCCESS;
}

} // namespace

STANDIN_EXPORT sword OCIStmtPrepare2(OCISvcCtx* svchp, OCIStmt** stmtp, OCIError* errhp,
                                     const OraText* stmt, ub4 stmt_len, const OraText* /*key*/,
                                     ub4 /*key_len*/, ub4 /*language*/, ub4 /*mode*/) {
    Service* service = lookup<Service>(svchp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || errors == nullptr || stmtp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (stmt == nullptr || stmt_len == 0) {
        return fail(errors, ora::InvalidStatementLength);
    }
    if (!service->connected() || service->dead) {
        return fail(errors, ora::NotConnected);
    }
    auto statement = std::make_unique<Statement>();
    statement->service = service;
    statement->prepared = true;
    statement->text.assign(reinterpret_cast<const char*>(stmt), stmt_len);
    statement->parsed = parseStatement(statement->text);
    *stmtp = toOci<OCIStmt>(statement.get());
    service->statements.push_back(std::move(statement));
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIStmtRelease(OCIStmt* stmtp, OCIError* errhp, const OraText* /*key*/,
                                    ub4 /*key_len*/, ub4 /*mode*/) {
    Statement* statement = lookup<Statement>(stmtp);
    ErrorHandle* errors = errorsFor(errhp);
    if (statement == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    // A statement from OCIHandleAlloc goes back through OCIHandleFree.
    if (statement->service == nullptr) {
        return oci::ERROR;
    }
    eraseOwned(statement->service->statements, statement);
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIStmtExecute(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters,
                                    ub4 /*rowoff*/, const OCISnapshot* /*snap_in*/,
                                    OCISnapshot* /*snap_out*/, ub4 /*mode*/) {
    Service* service = lookup<Service>(svchp);
    Statement* statement = lookup<Statement>(stmtp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || statement == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!statement->prepared) {
        return fail(errors, ora::NotPrepared);
    }
    if (statement->parsed.type != oci::STMT_SELECT && iters == 0) {
        return fail(errors, ora::ZeroIterations);
    }
    statement->described = false;
    statement->cursorOpen = false;
    statement->rows.clear();
    statement->computed.clear();
    statement->next = 0;
    statement->buffered = 0;
    statement->serverDone = false;
    statement->rowsFetched = 0;
    if (auto lost = service->roundTrip()) {
        return fail(errors, *lost);
    }
    if (takeStaleBreak(*service)) {
        return fail(errors, ora::UserCancel);
    }
    Runtime& state = runtime();
    state.logEvent("EXEC", statement->text);
    if (state.instance.faults.slowExecuteMs > 0) {
        if (auto ended = serverWait(*service, state.instance.faults.slowExecuteMs)) {
            return fail(errors, *ended);
        }
    }
    if (const auto* error = std::get_if<OraError>(&statement->parsed.body)) {
        return fail(errors, *error);
    }
    if (statement->query() != nullptr) {
        return runQuery(*statement, *service, errors, iters);
    }
    sword rc = 0;
    if (const auto* cancel = std::get_if<CancelSql>(&statement->parsed.body)) {
        rc = cancelSql(*cancel, *service, errors);
    } else if (const auto* disconnect = std::get_if<DisconnectSession>(&statement->parsed.body)) {
        rc = disconnectSession(*disconnect, *service, errors);
    } else {
        rc = killSession(std::get<KillSession>(statement->parsed.body), *service, errors);
    }
    if (state.instance.faults.loseAnswer) {
        // Done on the server; the answer never comes back.
        service->dead = true;
        return fail(errors, ora::EndOfFile);
    }
    return rc;
}

static_assert(std::is_same_v<decltype(&OCIStmtPrepare2), OCIStmtPrepare2_t*>);
static_assert(std::is_same_v<decltype(&OCIStmtRelease), OCIStmtRelease_t*>);
static_assert(std::is_same_v<decltype(&OCIStmtExecute), OCIStmtExecute_t*>);
