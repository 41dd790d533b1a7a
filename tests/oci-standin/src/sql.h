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

enum class View : unsigned char {
    Session,
    GvSession,
    Sql,
    GvSql,
    Transaction,
    GvTransaction,
    DbaObjects,
    AllObjects,
    Longops,
    GvLongops
};

// gv$ views show every instance; v$ views only the one the connection is on.
bool isGlobal(View view);
// The table behind v$transaction, dba_objects, all_objects, v$session_longops and their gv$
// forms.
std::optional<Table> tableOf(View view);

// A scalar subquery correlated with the outer session row. Each join is
// <inner column> = <outer column>; ROWNUM = 1 keeps the first matching row only.
//   (SELECT q.<column> FROM v$sql|gv$sql q WHERE <joins> [AND ROWNUM = 1])
struct CursorLookup {
    View view;
    SqlColumn selected;
    std::vector<std::pair<SqlColumn, Column>> joins;
    bool firstRowOnly = false;
};
//   (SELECT COUNT(*) FROM v$session|gv$session b WHERE <joins> [AND ROWNUM = 1])
// where a join may also be <inner column> = USERENV('INSTANCE').
struct SessionCount {
    View view;
    std::vector<std::pair<Column, Column>> joins;
    bool firstRowOnly = false;
    // Inner columns that must hold the instance the connection is on.
    std::vector<Column> onConnectedInstance = {};
};
//   USERENV('INSTANCE'): the instance the connection is on
struct ConnectedInstance {};
//   (SELECT x.<column> FROM <table view> x WHERE <joins> [AND x.<a> < x.<b>]... [AND ROWNUM = 1])
// or, of the matching rows the one first by a column (NULLs last):
//   (SELECT MAX(x.<column>) KEEP (DENSE_RANK FIRST ORDER BY x.<column>) FROM ...)
struct TableLookup {
    View view;
    TableColumn selected;
    std::optional<TableColumn> firstBy;
    std::vector<std::pair<TableColumn, Column>> joins;
    std::vector<std::pair<TableColumn, TableColumn>> less;
    bool firstRowOnly = false;
};
using Subquery = std::variant<CursorLookup, SessionCount, ConnectedInstance, TableLookup>;

struct SelectItem {
    // A column of the session row, or the index of a subquery in SessionQuery::subqueries.
    std::variant<Column, std::size_t> source;
    ColumnInfo type;
    std::optional<std::string> nvl; // replacement for NULL, from NVL(column, 'literal')
    std::string name;               // as Oracle names the select-list item
};

// <column> = '<literal>' or <column> = <integer>
struct Filter {
    Column column;
    Cell value; // NULL for an integer too large for any session: it matches nothing
};

// SELECT <items> FROM v$session|gv$session [<alias>] [WHERE <filter> [AND <filter>]...]
//   [ORDER BY [inst_id,] sid, serial#]
// where each item is a column, NVL(<text column>, '<literal>'), USERENV('INSTANCE') or a
// subquery.
struct SessionQuery {
    View view = View::Session;
    std::vector<SelectItem> items;
    std::vector<Filter> filters;
    std::vector<Subquery> subqueries;
    bool sidOrderAcrossInstances = false; // gv$session ORDER BY sid, serial#
    bool readsGlobalView = false;         // any gv$ view, in a subquery too
    bool readsCatalog = false; // v$transaction, v$session_longops or dba_objects (or gv$)
    // WHERE EXISTS (SELECT 1 FROM v$session|gv$session b WHERE <joins>): at least one match.
    std::vector<SessionCount> exists;
    // ORDER BY NVL2(<column>, 1, 0), ...: the rows where the column is NULL come first.
    std::optional<Column> nullFirstBy;
};

// ALTER SYSTEM KILL SESSION '<sid>,<serial#>[,@inst]' [IMMEDIATE]
struct KillSession {
    std::optional<SessionId> target; // nullopt: the id string is malformed
    bool immediate = false;
};

// ALTER SYSTEM CANCEL SQL '<sid>, <serial#>[, @inst]'
struct CancelSql {
    std::optional<SessionId> target; // nullopt: the id string is malformed
};

// ALTER SYSTEM DISCONNECT SESSION '<sid>,<serial#>' [POST_TRANSACTION] [IMMEDIATE]; the id
// names no instance.
struct DisconnectSession {
    std::optional<SessionId> target; // nullopt: the id string is malformed
    bool postTransaction = false;
};

using StatementBody =
    std::variant<OraError, SessionQuery, KillSession, CancelSql, DisconnectSession>;

// The statement as the server would see it. Errors are kept, not raised: like Oracle, the
// stand-in reports them when the statement is executed.
struct ParsedStatement {
    ub2 type = 0; // OCI_ATTR_STMT_TYPE, from the leading keyword
    StatementBody body;
};

ParsedStatement parseStatement(std::string_view sql);
