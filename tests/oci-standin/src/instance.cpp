#include "src/instance.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

// Sizes as v$session declares them (VARCHAR2 byte lengths, NUMBER 22, DATE 7).
constexpr std::array<ColumnInfo, kColumnCount> kColumns{{
    {"SID", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"SERIAL#", ColumnKind::Number, oci::SQLT_NUM, 22},
    {"STATUS", ColumnKind::Text, oci::SQLT_CHR, 8},
    {"TERMINAL", ColumnKind::Text, oci::SQLT_CHR, 30},
    {"OSUSER", ColumnKind::Text, oci::SQLT_CHR, 128},
    {"USERNAME", ColumnKind::Text, oci::SQLT_CHR, 128},
    {"PROGRAM", ColumnKind::Text, oci::SQLT_CHR, 48},
    {"LOGON_TIME", ColumnKind::Date, oci::SQLT_DAT, 7},
}};

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

// NULLs sort last, as ORDER BY ... ASC does.
bool nullsLastLess(bool aNull, sb8 a, bool bNull, sb8 b) {
    if (aNull != bNull) {
        return bNull;
    }
    return !aNull && a < b;
}

} // namespace

const ColumnInfo& columnInfo(Column column) {
    return kColumns[static_cast<std::size_t>(column)];
}

std::optional<Column> columnNamed(std::string_view upperName) {
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (kColumns[i].name == upperName) {
            return static_cast<Column>(i);
        }
    }
    return std::nullopt;
}

std::optional<std::string> setCell(Row& row, Column column, std::optional<std::string_view> value) {
    Cell& cell = row.cells[static_cast<std::size_t>(column)];
    const ColumnInfo& info = columnInfo(column);
    cell.null = !value.has_value();
    cell.text.clear();
    if (!value) {
        return std::nullopt;
    }
    switch (info.kind) {
    case ColumnKind::Number: {
        sb8 number = 0;
        if (!parseWhole(*value, number)) {
            return std::string(info.name) + " is not an integer: " + std::string(*value);
        }
        (column == Column::Sid ? row.sid : row.serial) = number;
        break;
    }
    case ColumnKind::Date:
        if (!parseDate(*value, row)) {
            return std::string(info.name) +
                   " is not a valid YYYY-MM-DD HH:MM:SS date: " + std::string(*value);
        }
        break;
    case ColumnKind::Text:
        if (value->size() > info.dataSize) {
            return std::string(info.name) + " holds at most " + std::to_string(info.dataSize) +
                   " bytes: " + std::string(*value);
        }
        break;
    }
    cell.text.assign(*value);
    return std::nullopt;
}

bool Instance::accepts(std::string_view connectString) const {
    return acceptAnyConnect || std::find(connectStrings.begin(), connectStrings.end(),
                                         connectString) != connectStrings.end();
}

const User* Instance::findUser(std::string_view name) const {
    auto found = users.find(upperAscii(name));
    return found == users.end() ? nullptr : &found->second;
}

std::optional<std::string> Instance::generate(unsigned long count,
                                              std::optional<std::string_view> terminal) {
    sb8 sid = 0;
    for (const RowPtr& row : sessions) {
        if (!row->cell(Column::Sid).null) {
            sid = std::max(sid, row->sid);
        }
    }
    sessions.reserve(sessions.size() + count);
    char buffer[64];
    for (unsigned long i = 0; i < count; ++i) {
        ++sid;
        auto row = std::make_shared<Row>();
        auto put = [&](Column column, std::string_view text) {
            return setCell(*row, column, text);
        };
        const auto number = static_cast<long long>(sid);
        std::snprintf(buffer, sizeof buffer, "%lld", number);
        put(Column::Sid, buffer);
        std::snprintf(buffer, sizeof buffer, "%lld", (number * 7919) % 60000 + 1);
        put(Column::Serial, buffer);
        put(Column::Status, number % 3 == 0 ? "ACTIVE" : "INACTIVE");
        if (terminal) {
            if (auto error = put(Column::Terminal, *terminal)) {
                return error;
            }
        } else {
            std::snprintf(buffer, sizeof buffer, "PC%05lld", number % 100000);
            put(Column::Terminal, buffer);
        }
        std::snprintf(buffer, sizeof buffer, "user%04lld", number % 10000);
        put(Column::Osuser, buffer);
        std::snprintf(buffer, sizeof buffer, "APP%03lld", number % 1000);
        put(Column::Username, buffer);
        std::snprintf(buffer, sizeof buffer, "worker%lld@apphost (TNS V1-V3)", number % 100);
        put(Column::Program, buffer);
        const long long minutes = number % (24 * 60);
        std::snprintf(buffer, sizeof buffer, "2024-%02lld-%02lld %02lld:%02lld:%02lld",
                      number % 12 + 1, number % 28 + 1, minutes / 60, minutes % 60, number % 60);
        put(Column::LogonTime, buffer);
        sessions.push_back(std::move(row));
    }
    return std::nullopt;
}

void Instance::sortSessions() {
    std::stable_sort(sessions.begin(), sessions.end(), [](const RowPtr& a, const RowPtr& b) {
        const bool aSidNull = a->cell(Column::Sid).null;
        const bool bSidNull = b->cell(Column::Sid).null;
        if (aSidNull != bSidNull || (!aSidNull && a->sid != b->sid)) {
            return nullsLastLess(aSidNull, a->sid, bSidNull, b->sid);
        }
        return nullsLastLess(a->cell(Column::Serial).null, a->serial, b->cell(Column::Serial).null,
                             b->serial);
    });
}

bool Instance::removeSession(sb8 sid, sb8 serial) {
    auto found = std::find_if(sessions.begin(), sessions.end(), [&](const RowPtr& row) {
        return !row->cell(Column::Sid).null && !row->cell(Column::Serial).null && row->sid == sid &&
               row->serial == serial;
    });
    if (found == sessions.end()) {
        return false;
    }
    sessions.erase(found);
    return true;
}

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}
