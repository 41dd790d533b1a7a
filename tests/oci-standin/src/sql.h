#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "oci_api.h"
#include "src/instance.h"
#include "src/ora_error.h"

// OCI_STMT_ALTER; oci_api.h only names the SELECT type.
constexpr ub2 kStmtAlter = 7;

struct SelectItem {
    Column column;
    std::optional<std::string> nvl; // replacement for NULL, from NVL(column, 'literal')
    std::string name;               // as Oracle names the select-list item
};

// SELECT <items> FROM v$session [WHERE <text column> = '<literal>'] [ORDER BY sid, serial#]
struct SessionQuery {
    std::vector<SelectItem> items;
    std::optional<Column> filterColumn;
    std::string filterValue;
};

// ALTER SYSTEM KILL SESSION '<sid>,<serial#>[,@inst]' [IMMEDIATE]
struct KillSession {
    std::optional<std::pair<sb8, sb8>> target; // nullopt: the id string is malformed
};

// The statement as the server would see it. Errors are kept, not raised: like Oracle, the
// stand-in reports them when the statement is executed.
struct ParsedStatement {
    ub2 type = 0; // OCI_ATTR_STMT_TYPE, from the leading keyword
    std::variant<OraError, SessionQuery, KillSession> body;
};

ParsedStatement parseStatement(std::string_view sql);
