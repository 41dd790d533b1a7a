#include "src/views.h"

#include <charconv>

namespace {

// Sizes as v$session and v$sql declare them (VARCHAR2 byte lengths, NUMBER 22, DATE 7).
constexpr std::array<ColumnInfo, kColumnCount> kColumns{{
    {"SID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"SERIAL#", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"STATUS", ColumnKind::Text, oci::SQLT_CHR, 8},
    {"TERMINAL", ColumnKind::Text, oci::SQLT_CHR, 30},
    {"OSUSER", ColumnKind::Text, oci::SQLT_CHR, 128},
    {"USERNAME", ColumnKind::Text, oci::SQLT_CHR, 128},
    {"PROGRAM", ColumnKind::Text, oci::SQLT_CHR, 48},
    {"LOGON_TIME", ColumnKind::Date, oci::SQLT_DAT, 7},
    {"INST_ID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"MACHINE", ColumnKind::Text, oci::SQLT_CHR, 64},
    {"MODULE", ColumnKind::Text, oci::SQLT_CHR, 64},
    {"ACTION", ColumnKind::Text, oci::SQLT_CHR, 64},
    {"CLIENT_INFO", ColumnKind::Text, oci::SQLT_CHR, 64},
    {"PROCESS", ColumnKind::Text, oci::SQLT_CHR, 24},
    {"SERVER", ColumnKind::Text, oci::SQLT_CHR, 9},
    {"SQL_ID", ColumnKind::Text, oci::SQLT_CHR, 13},
    {"EVENT", ColumnKind::Text, oci::SQLT_CHR, 64},
    {"SECONDS_IN_WAIT", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"LAST_CALL_ET", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"BLOCKING_SESSION", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"BLOCKING_INSTANCE", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"FINAL_BLOCKING_SESSION", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"FINAL_BLOCKING_INSTANCE", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"TADDR", ColumnKind::Text, oci::SQLT_CHR, 16},
    {"ROW_WAIT_OBJ#", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"ROW_WAIT_FILE#", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"ROW_WAIT_BLOCK#", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"ROW_WAIT_ROW#", ColumnKind::Number, oci::SQLT_NUM, 22},
}};

// v$transaction.addr is a RAW shown as hex text; v$session_longops.start_time, a DATE in
// Oracle, is kept as YYYY-MM-DD HH:MM:SS text, which orders the same.
const std::vector<ColumnInfo> kTransactionColumns{
    {"ADDR", ColumnKind::Text, oci::SQLT_CHR, 16},
    {"INST_ID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"START_TIME", ColumnKind::Text, oci::SQLT_CHR, 20},
    {"USED_UBLK", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"USED_UREC", ColumnKind::Number, oci::SQLT_NUM, 22},
};
const std::vector<ColumnInfo> kObjectColumns{
    {"OBJECT_ID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"OWNER", ColumnKind::Text, oci::SQLT_CHR, 128},
    {"OBJECT_NAME", ColumnKind::Text, oci::SQLT_CHR, 128},
};
const std::vector<ColumnInfo> kLongopsColumns{
    {"INST_ID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"SID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"SERIAL#", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"OPNAME", ColumnKind::Text, oci::SQLT_CHR, 64},
    {"SOFAR", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"TOTALWORK", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"TIME_REMAINING", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"START_TIME", ColumnKind::Text, oci::SQLT_CHR, 19},
};

const std::vector<ColumnInfo>& tableColumns(Table table) {
    switch (table) {
    case Table::Transaction:
        return kTransactionColumns;
    case Table::Objects:
        return kObjectColumns;
    case Table::Longops:
        break;
    }
    return kLongopsColumns;
}

constexpr std::array<ColumnInfo, kSqlColumnCount> kSqlColumns{{
    {"SQL_ID", ColumnKind::Text, oci::SQLT_CHR, 13},
    {"INST_ID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"SQL_TEXT", ColumnKind::Text, oci::SQLT_CHR, 1000},
}};

template <typename C, std::size_t N>
std::optional<C> named(const std::array<ColumnInfo, N>& columns, std::string_view upperName) {
    for (std::size_t i = 0; i < N; ++i) {
        if (columns[i].name == upperName) {
            return static_cast<C>(i);
        }
    }
    return std::nullopt;
}

template <typename T> bool parseWhole(std::string_view text, T& out) {
    if (text.empty()) {
        return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc{} && end == text.data() + text.size();
}

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysIn(int year, int month) {
    constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

// YYYY-MM-DD HH:MM:SS, year 1..9999.
bool parseDate(std::string_view text, Row& row) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return false;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!parseWhole(text.substr(0, 4), year) || !parseWhole(text.substr(5, 2), month) ||
        !parseWhole(text.substr(8, 2), day) || !parseWhole(text.substr(11, 2), hour) ||
        !parseWhole(text.substr(14, 2), minute) || !parseWhole(text.substr(17, 2), second)) {
        return false;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysIn(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return false;
    }
    row.date = {static_cast<ub1>(year / 100 + 100),
                static_cast<ub1>(year % 100 + 100),
                static_cast<ub1>(month),
                static_cast<ub1>(day),
                static_cast<ub1>(hour + 1),
                static_cast<ub1>(minute + 1),
                static_cast<ub1>(second + 1)};
    row.dateValue = {static_cast<sb2>(year),
                     static_cast<ub1>(month),
                     static_cast<ub1>(day),
                     static_cast<ub1>(hour),
                     static_cast<ub1>(minute),
                     static_cast<ub1>(second),
                     0};
    return true;
}

// A number or a text value (nullopt = NULL); dates are the row's business.
std::optional<std::string> fillCell(Cell& cell, const ColumnInfo& info,
                                    std::optional<std::string_view> value) {
    cell.null = !value.has_value();
    cell.number = 0;
    cell.text.clear();
    if (!value) {
        return std::nullopt;
    }
    if (info.kind == ColumnKind::Number) {
        if (!parseWhole(*value, cell.number)) {
            return std::string(info.name) + " is not an integer: " + std::string(*value);
        }
        // Oracle shows a NUMBER in its canonical form, whatever the fixture wrote.
        cell.text = std::to_string(cell.number);
    } else {
        if (value->size() > info.dataSize) {
            return std::string(info.name) + " holds at most " + std::to_string(info.dataSize) +
                   " bytes: " + std::string(*value);
        }
        cell.text.assign(*value);
    }
    return std::nullopt;
}

// NULLs last, as ORDER BY ... ASC puts them.
bool nullsLastLess(const Cell& a, const Cell& b) {
    if (a.null != b.null) {
        return b.null;
    }
    return !a.null && a.number < b.number;
}

bool sameNumber(const Cell& a, const Cell& b) {
    return a.null == b.null && (a.null || a.number == b.number);
}

} // namespace

const ColumnInfo& columnInfo(Column column) {
    return kColumns[static_cast<std::size_t>(column)];
}

std::optional<Column> columnNamed(std::string_view upperName) {
    return named<Column>(kColumns, upperName);
}

bool sameValue(const Cell& a, const Cell& b, ColumnKind kind) {
    if (a.null || b.null) {
        return false;
    }
    return kind == ColumnKind::Number ? a.number == b.number : a.text == b.text;
}

Cell numberCell(sb8 number) {
    return Cell{false, number, std::to_string(number)};
}

std::optional<std::string> setCell(Row& row, Column column, std::optional<std::string_view> value) {
    const auto index = static_cast<std::size_t>(column);
    const ColumnInfo& info = columnInfo(column);
    if (index >= kRowCellCount) {
        // Details may be shared with other rows: change a copy.
        auto details =
            row.details ? std::make_shared<Details>(*row.details) : std::make_shared<Details>();
        auto error = fillCell((*details)[index - kRowCellCount], info, value);
        row.details = std::move(details);
        return error;
    }
    Cell& cell = row.cells[index];
    if (value && info.kind == ColumnKind::Date) {
        if (!parseDate(*value, row)) {
            return std::string(info.name) +
                   " is not a valid YYYY-MM-DD HH:MM:SS date: " + std::string(*value);
        }
        cell.null = false;
        cell.text.assign(*value);
        return std::nullopt;
    }
    return fillCell(cell, info, value);
}

void setNumber(Row& row, Column column, sb8 number) {
    row.cells[static_cast<std::size_t>(column)] = numberCell(number);
}

bool sessionOrderLess(const Row& a, const Row& b) {
    if (a.number(Column::InstId) != b.number(Column::InstId)) {
        return a.number(Column::InstId) < b.number(Column::InstId);
    }
    return sidOrderLess(a, b);
}

bool sidOrderLess(const Row& a, const Row& b) {
    const Cell& aSid = a.cell(Column::Sid);
    const Cell& bSid = b.cell(Column::Sid);
    if (!sameNumber(aSid, bSid)) {
        return nullsLastLess(aSid, bSid);
    }
    return nullsLastLess(a.cell(Column::Serial), b.cell(Column::Serial));
}

const ColumnInfo& sqlColumnInfo(SqlColumn column) {
    return kSqlColumns[static_cast<std::size_t>(column)];
}

std::optional<SqlColumn> sqlColumnNamed(std::string_view upperName) {
    return named<SqlColumn>(kSqlColumns, upperName);
}

std::optional<std::string> makeCachedStatement(std::string_view sqlId, std::string_view instance,
                                               std::string_view text, CachedStatement& out) {
    const std::array<std::string_view, kSqlColumnCount> values{sqlId, instance, text};
    for (std::size_t i = 0; i < kSqlColumnCount; ++i) {
        if (values[i].empty()) {
            return std::string(kSqlColumns[i].name) + " may not be empty";
        }
        if (auto error = fillCell(out.cells[i], kSqlColumns[i], values[i])) {
            return error;
        }
    }
    if (out.cell(SqlColumn::InstId).number < 1) {
        return "INST_ID must be a positive integer: " + std::string(instance);
    }
    return std::nullopt;
}

const ColumnInfo& tableColumnInfo(TableColumn column) {
    return tableColumns(column.table)[column.index];
}

std::optional<TableColumn> tableColumnNamed(Table table, std::string_view upperName) {
    const std::vector<ColumnInfo>& columns = tableColumns(table);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == upperName) {
            return TableColumn{table, i};
        }
    }
    return std::nullopt;
}

std::size_t tableColumnCount(Table table) {
    return tableColumns(table).size();
}

std::optional<TableColumn> tableInstance(Table table) {
    return tableColumnNamed(table, "INST_ID");
}

std::optional<std::string> makeTableRow(Table table, const std::vector<std::string_view>& values,
                                        TableRow& out) {
    const std::vector<ColumnInfo>& columns = tableColumns(table);
    if (values.size() != columns.size()) {
        return "expected " + std::to_string(columns.size()) + " values";
    }
    out.table = table;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const bool null = values[i] == "\\N";
        if (auto error = fillCell(out.cells[i], columns[i],
                                  null ? std::nullopt : std::optional(values[i]))) {
            return error;
        }
    }
    // The first column (addr, object_id, inst_id) is what rows are found by.
    if (out.cells[0].null) {
        return std::string(columns[0].name) + " may not be NULL";
    }
    if (const auto instance = tableInstance(table);
        instance && (out.cell(*instance).null || out.cell(*instance).number < 1)) {
        return "INST_ID must be a positive integer";
    }
    return std::nullopt;
}
