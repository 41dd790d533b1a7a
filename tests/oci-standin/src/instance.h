#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oci_api.h"

// The v$session columns the instance knows, in table order.
enum class Column : unsigned char {
    Sid,
    Serial,
    Status,
    Terminal,
    Osuser,
    Username,
    Program,
    LogonTime
};
constexpr std::size_t kColumnCount = 8;

enum class ColumnKind : unsigned char { Number, Text, Date };

struct ColumnInfo {
    std::string_view name; // upper case, as Oracle names it
    ColumnKind kind;
    ub2 sqlType;
    ub2 dataSize; // bytes; also the most a fixture value may hold
};

const ColumnInfo& columnInfo(Column column);
std::optional<Column> columnNamed(std::string_view upperName);

// One v$session row, rendered once when the fixture is loaded so fetching is only copying.
struct Cell {
    bool null = true;
    std::string text; // UTF-8 text, decimal digits, or the date as YYYY-MM-DD HH:MM:SS
};

struct Row {
    std::array<Cell, kColumnCount> cells;
    sb8 sid = 0;
    sb8 serial = 0;
    std::array<ub1, 7> date{}; // SQLT_DAT form
    OCIDateValue dateValue{};  // SQLT_ODT form

    const Cell& cell(Column column) const { return cells[static_cast<std::size_t>(column)]; }
};

// Fills one column of `row` from fixture text (nullopt = NULL). Returns an error description.
std::optional<std::string> setCell(Row& row, Column column, std::optional<std::string_view> value);

struct User {
    std::string password;
    bool mayReadSessions = false;
    bool mayAlterSystem = false;
};

struct Faults {
    std::optional<unsigned long> loseConnectionAfter; // round trips that still succeed
    unsigned slowExecuteMs = 0;
    bool killMarksOnly = false; // kill answers ORA-00031 (the session goes anyway)
};

using RowPtr = std::shared_ptr<const Row>;

struct Instance {
    std::vector<std::string> connectStrings;
    bool acceptAnyConnect = false;
    std::map<std::string, User> users; // key: upper-case user name
    std::vector<RowPtr> sessions;      // kept ordered by sid, serial#
    Faults faults;

    bool accepts(std::string_view connectString) const;
    const User* findUser(std::string_view name) const;
    // Adds `count` plausible sessions, sids continuing after the highest one.
    std::optional<std::string> generate(unsigned long count,
                                        std::optional<std::string_view> terminal);
    void sortSessions();
    bool removeSession(sb8 sid, sb8 serial);
};

std::string upperAscii(std::string_view text);
