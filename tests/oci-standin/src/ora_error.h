#pragma once

#include <string>
#include <string_view>

#include "oci_api.h"

// An Oracle error as the server or the client library reports it: the positive code and the
// full "ORA-nnnnn: text" message.
struct OraError {
    sb4 code = 0;
    std::string message;
};

// Codes the stand-in raises; the texts are Oracle's.
namespace ora {
constexpr sb4 MissingSessionId = 26;
constexpr sb4 SessionIdNotFound = 30;
constexpr sb4 MarkedForKill = 31;
constexpr sb4 InvalidStatement = 900;
constexpr sb4 InvalidIdentifier = 904;
constexpr sb4 InvalidCharacter = 911;
constexpr sb4 InconsistentTypes = 932;
constexpr sb4 NotProperlyEnded = 933;
constexpr sb4 NoSuchTable = 942;
constexpr sb4 FetchOutOfSequence = 1002;
constexpr sb4 NotInSelectList = 1007;
constexpr sb4 LogonDenied = 1017;
constexpr sb4 InsufficientPrivileges = 1031;
constexpr sb4 NoDataFound = 1403;
constexpr sb4 NullFetched = 1405;
constexpr sb4 Truncated = 1406;
constexpr sb4 SubqueryRows = 1427;
constexpr sb4 UnterminatedLiteral = 1756;
constexpr sb4 EndOfFile = 3113;
constexpr sb4 NotConnected = 3114;
constexpr sb4 CannotResolve = 12154;
constexpr sb4 SysNeedsPrivilege = 28009;
constexpr sb4 IllegalAttribute = 24315;
constexpr sb4 ZeroIterations = 24333;
constexpr sb4 NoDescriptor = 24334;
constexpr sb4 NotPrepared = 24337;
constexpr sb4 NotExecuted = 24338;
constexpr sb4 TruncationOrNull = 24345;
constexpr sb4 InvalidStatementLength = 24373;
constexpr sb4 InvalidFetch = 24391;
} // namespace ora

// Builds the error for `code`. `detail` fills the quoted name of ORA-00904.
OraError oraError(sb4 code, std::string_view detail = {});
