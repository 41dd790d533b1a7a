#include "src/ora_error.h"

#include <cstdio>

namespace {

std::string_view textOf(sb4 code) {
    switch (code) {
    case ora::MissingSessionId:
        return "missing or invalid session ID";
    case ora::SessionIdNotFound:
        return "User session ID does not exist.";
    case ora::MarkedForKill:
        return "session marked for kill";
    case ora::InvalidStatement:
        return "invalid SQL statement";
    case ora::InvalidIdentifier:
        return "invalid identifier";
    case ora::InvalidCharacter:
        return "invalid character";
    case ora::InconsistentTypes:
        return "inconsistent datatypes";
    case ora::NotProperlyEnded:
        return "SQL command not properly ended";
    case ora::NoSuchTable:
        return "table or view does not exist";
    case ora::FetchOutOfSequence:
        return "fetch out of sequence";
    case ora::NotInSelectList:
        return "variable not in select list";
    case ora::LogonDenied:
        return "invalid username/password; logon denied";
    case ora::InsufficientPrivileges:
        return "insufficient privileges";
    case ora::NoDataFound:
        return "no data found";
    case ora::NullFetched:
        return "fetched column value is NULL";
    case ora::Truncated:
        return "fetched column value was truncated";
    case ora::SubqueryRows:
        return "single-row subquery returns more than one row";
    case ora::UnterminatedLiteral:
        return "quoted string not properly terminated";
    case ora::EndOfFile:
        return "end-of-file on communication channel";
    case ora::NotConnected:
        return "not connected to ORACLE";
    case ora::CannotResolve:
        return "TNS:could not resolve the connect identifier specified";
    case ora::SysNeedsPrivilege:
        return "connection as SYS should be as SYSDBA or SYSOPER";
    case ora::IllegalAttribute:
        return "illegal attribute type";
    case ora::ZeroIterations:
        return "zero iteration count";
    case ora::NoDescriptor:
        return "no descriptor for this position";
    case ora::NotPrepared:
        return "statement handle not prepared";
    case ora::NotExecuted:
        return "statement handle not executed";
    case ora::TruncationOrNull:
        return "A truncation or NULL fetch error occurred";
    case ora::InvalidStatementLength:
        return "invalid length specified for statement";
    case ora::InvalidFetch:
        return "invalid fetch operation";
    default:
        return "internal error";
    }
}

} // namespace

OraError oraError(sb4 code, std::string_view detail) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", static_cast<int>(code));
    std::string message = prefix;
    if (code == ora::InvalidIdentifier) {
        message += '"';
        message += detail;
        message += "\": ";
    }
    message += textOf(code);
    return {code, std::move(message)};
}
