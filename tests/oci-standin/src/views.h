#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oci_api.h"

// The views the stand-in answers from: v$session / gv$session and v$sql / gv$sql, their
// columns and their rows, and the views the details read beside them (v$transaction,
// dba_objects, v$session_longops).

// The instance every connection is on: what v$ views show and an unqualified kill targets.
constexpr sb8 kLocalInstance = 1;

// The v$session columns the instance knows.
enum class Column : unsigned char {
    // The session line's eight positional fields, in this order.
    Sid,
    Serial,
    Status,
    Terminal,
    Osuser,
    Username,
    Program,
    LogonTime,
    InstId, // gv$session only; never NULL
    // Details, named on the session line; NULL unless given.
    Machine,
    Module,
    Action,
    ClientInfo,
    Process,
    Server,
    SqlId,
    Event,
    SecondsInWait,
    LastCallEt,
    BlockingSession,
    BlockingInstance,
    // The root of the chain of blockers, kept by the instance; NULL unless blocked.
    FinalBlockingSession,
    FinalBlockingInstance,
    // The transaction (v$transaction.addr) and the row waited on; NULL unless given.
    Taddr,
    RowWaitObj,
    RowWaitFile,
    RowWaitBlock,
    RowWaitRow
};
constexpr std::size_t kPositionalCount = 8;
constexpr std::size_t kRowCellCount = 9; // held by every row: the positional ones and inst_id
constexpr std::size_t kDetailCount = 19;
constexpr std::size_t kColumnCount = kRowCellCount + kDetailCount;

enum class ColumnKind : unsigned char { Number, Text, Date };

struct ColumnInfo {
    std::string_view name; // upper case, as Oracle names it
    ColumnKind kind;
    ub2 sqlType;
    ub2 dataSize; // bytes; also the most a fixture value may hold
};

const ColumnInfo& columnInfo(Column column);
// Any v$session column, inst_id included.
std::optional<Column> columnNamed(std::string_view upperName);

// One value, rendered once when the fixture is loaded so fetching is only copying.
struct Cell {
    bool null = true;
    sb8 number = 0;   // a NUMBER's value
    std::string text; // UTF-8 text, the number in decimal, or the date as YYYY-MM-DD HH:MM:SS
};

// Both are values and equal; NULL equals nothing, as in SQL.
bool sameValue(const Cell& a, const Cell& b, ColumnKind kind);
Cell numberCell(sb8 number);

using Details = std::array<Cell, kDetailCount>;

// One v$session row.
struct Row {
    std::array<Cell, kRowCellCount> cells;
    std::shared_ptr<const Details> details; // null: every detail is NULL; shared, never changed
    std::array<ub1, 7> date{};              // SQLT_DAT form of the logon time
    OCIDateValue dateValue{};               // SQLT_ODT form
    bool stubborn = false;                  // the first plain kill leaves it KILLED with ORA-00031
    bool openTransaction = false;           // a disconnect after the transaction waits for it

    const Cell& cell(Column column) const {
        const auto index = static_cast<std::size_t>(column);
        if (index < kRowCellCount) {
            return cells[index];
        }
        static const Cell null;
        return details ? (*details)[index - kRowCellCount] : null;
    }
    sb8 number(Column column) const { return cell(column).number; }
};

// Fills one column of `row` from fixture text (nullopt = NULL). Returns an error description.
std::optional<std::string> setCell(Row& row, Column column, std::optional<std::string_view> value);
// Sets a number column every row holds (sid, serial#, inst_id), without parsing text.
void setNumber(Row& row, Column column, sb8 number);

// Instance first, then sid and serial#, NULLs last as ORDER BY ... ASC puts them.
bool sessionOrderLess(const Row& a, const Row& b);
// The same without the instance: how gv$session comes ORDER BY sid, serial#.
bool sidOrderLess(const Row& a, const Row& b);

// The v$sql columns the instance knows.
enum class SqlColumn : unsigned char { SqlId, InstId, SqlText };
constexpr std::size_t kSqlColumnCount = 3;

const ColumnInfo& sqlColumnInfo(SqlColumn column);
std::optional<SqlColumn> sqlColumnNamed(std::string_view upperName);

// One child cursor in an instance's shared pool (a v$sql row).
struct CachedStatement {
    std::array<Cell, kSqlColumnCount> cells;

    const Cell& cell(SqlColumn column) const { return cells[static_cast<std::size_t>(column)]; }
};

// Reads a cursor from fixture text; all three values are required.
std::optional<std::string> makeCachedStatement(std::string_view sqlId, std::string_view instance,
                                               std::string_view text, CachedStatement& out);

// The views the details read beside v$session, one row per fixture line, its cells in the
// order of the view's columns.
enum class Table : unsigned char { Transaction, Objects, Longops };

// A column of one of those views.
struct TableColumn {
    Table table;
    std::size_t index;
};

const ColumnInfo& tableColumnInfo(TableColumn column);
std::optional<TableColumn> tableColumnNamed(Table table, std::string_view upperName);
std::size_t tableColumnCount(Table table);
// The view's INST_ID column (every one but dba_objects has one).
std::optional<TableColumn> tableInstance(Table table);

struct TableRow {
    Table table = Table::Transaction;
    std::array<Cell, 8> cells; // as many as the view has columns

    const Cell& cell(TableColumn column) const { return cells[column.index]; }
};

// Reads a row of `table` from fixture fields, one per column; `\N` is NULL where the view
// allows it.
std::optional<std::string> makeTableRow(Table table, const std::vector<std::string_view>& values,
                                        TableRow& out);
