#include "src/fixture.h"

#include <charconv>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kNull = "\\N";

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// `\N`, the whole field, is NULL.
std::optional<std::string_view> nullable(std::string_view field) {
    return field == kNull ? std::nullopt : std::optional(field);
}

bool parseCount(std::string_view text, unsigned long& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc{} && end == text.data() + text.size();
}

ub4 adminMode(std::string_view privilege) {
    constexpr std::pair<std::string_view, ub4> kModes[] = {
        {"sysdba", oci::SYSDBA},    {"sysoper", oci::SYSOPER}, {"sysasm", oci::SYSASM},
        {"sysbackup", oci::SYSBKP}, {"sysdg", oci::SYSDGD},    {"syskm", oci::SYSKMT}};
    for (const auto& [name, mode] : kModes) {
        if (privilege == name) {
            return mode;
        }
    }
    return 0;
}

std::optional<std::string> parseUser(const std::vector<std::string_view>& f, Instance& instance) {
    if (f.size() != 4 || f[1].empty()) {
        return "expected user<TAB>name<TAB>password<TAB>privileges";
    }
    User user;
    user.password.assign(f[2]);
    std::string_view privileges = f[3];
    while (!privileges.empty() && privileges != "-") {
        const std::size_t comma = privileges.find(',');
        const std::string_view privilege = privileges.substr(0, comma);
        if (privilege == "read") {
            user.mayReadSessions = true;
        } else if (privilege == "nogv") {
            user.mayReadGlobalViews = false;
        } else if (privilege == "nocatalog") {
            user.mayReadCatalog = false;
        } else if (privilege == "alter") {
            user.mayAlterSystem = true;
        } else if (privilege == "external") {
            user.external = true;
        } else if (const ub4 mode = adminMode(privilege)) {
            user.adminModes |= mode;
        } else {
            return "unknown privilege '" + std::string(privilege) +
                   "' (read, nogv, nocatalog, alter, sysdba, sysoper, sysasm, sysbackup, sysdg, "
                   "syskm, "
                   "external or -)";
        }
        privileges =
            comma == std::string_view::npos ? std::string_view{} : privileges.substr(comma + 1);
    }
    instance.users[upperAscii(f[1])] = std::move(user);
    return std::nullopt;
}

// After the eight values: name=value for inst_id and the details, or the words stubborn and
// open-transaction.
std::optional<std::string> parseSessionAttribute(std::string_view field, Row& row) {
    if (field == "stubborn") {
        row.stubborn = true;
        return std::nullopt;
    }
    if (field == "open-transaction") {
        row.openTransaction = true;
        return std::nullopt;
    }
    const std::size_t equals = field.find('=');
    const std::string name = upperAscii(field.substr(0, equals));
    const auto column = equals == std::string_view::npos ? std::nullopt : columnNamed(name);
    if (!column || static_cast<std::size_t>(*column) < kPositionalCount) {
        return "expected name=value (inst_id or a details column such as machine) stubborn or "
               "open-transaction, "
               "got '" +
               std::string(field) + "'";
    }
    const std::string_view value = field.substr(equals + 1);
    if (auto error = setCell(row, *column, nullable(value))) {
        return error;
    }
    if (*column == Column::InstId &&
        (row.cell(Column::InstId).null || row.number(Column::InstId) < 1)) {
        return "INST_ID must be a positive integer: " + std::string(value);
    }
    return std::nullopt;
}

std::optional<std::string> parseSession(const std::vector<std::string_view>& f,
                                        Instance& instance) {
    if (f.size() < 1 + kPositionalCount) {
        return "expected session and 8 TAB-separated values (sid, serial#, status, terminal, "
               "osuser, username, program, logon_time), then any name=value";
    }
    auto row = std::make_shared<Row>();
    for (std::size_t i = 0; i < kPositionalCount; ++i) {
        const std::string_view value = f[i + 1];
        if (auto error = setCell(*row, static_cast<Column>(i), nullable(value))) {
            return error;
        }
    }
    setCell(*row, Column::InstId, "1");
    for (std::size_t i = 1 + kPositionalCount; i < f.size(); ++i) {
        if (auto error = parseSessionAttribute(f[i], *row)) {
            return error;
        }
    }
    // Oracle names the blocker's instance whenever it names the blocker.
    if (!row->cell(Column::BlockingSession).null && row->cell(Column::BlockingInstance).null) {
        setCell(*row, Column::BlockingInstance, std::to_string(row->number(Column::InstId)));
    }
    instance.sessions.push_back(std::move(row));
    return std::nullopt;
}

// sql<TAB>sql_id<TAB>inst_id<TAB>text, the text being the rest of the line, TABs and all.
std::optional<std::string> parseStatementText(std::string_view line,
                                              const std::vector<std::string_view>& f,
                                              Instance& instance) {
    if (f.size() < 4) {
        return "expected sql<TAB>sql_id<TAB>inst_id<TAB>statement text";
    }
    // The fields are views into the line.
    const auto textStart = static_cast<std::size_t>(f[3].data() - line.data());
    CachedStatement cursor;
    if (auto error = makeCachedStatement(f[1], f[2], line.substr(textStart), cursor)) {
        return error;
    }
    instance.sharedPool.push_back(std::move(cursor));
    return std::nullopt;
}

std::optional<std::string> parseGenerate(const std::vector<std::string_view>& f,
                                         Instance& instance) {
    unsigned long count = 0;
    unsigned long instances = 1;
    if (f.size() < 2 || f.size() > 4 || !parseCount(f[1], count) ||
        (f.size() == 4 && !parseCount(f[3], instances))) {
        return "expected generate<TAB>N[<TAB>terminal[<TAB>instances]]";
    }
    // An empty terminal field keeps the generated names, so an instance count can follow.
    const auto terminal = f.size() >= 3 && !f[2].empty() ? std::optional(f[2]) : std::nullopt;
    return instance.generate(count, terminal, instances);
}

std::optional<std::string> parseFault(const std::vector<std::string_view>& f, Faults& faults) {
    unsigned long number = 0;
    if (f.size() == 3 && f[1] == "lose-connection" && parseCount(f[2], number)) {
        faults.loseConnectionAfter = number;
    } else if (f.size() == 3 && f[1] == "slow-execute" && parseCount(f[2], number)) {
        faults.slowExecuteMs = static_cast<unsigned>(number);
    } else if (f.size() == 3 && f[1] == "slow-logon" && parseCount(f[2], number)) {
        faults.slowLogonMs = static_cast<unsigned>(number);
    } else if (f.size() == 3 && f[1] == "call-timeout" && parseCount(f[2], number)) {
        faults.callTimeoutMs = static_cast<unsigned>(number);
    } else if (f.size() == 2 && f[1] == "kill-marks-only") {
        faults.killMarksOnly = true;
    } else if (f.size() == 4 && f[1] == "cancel-idle" && parseCount(f[2], number) && number > 0 &&
               !f[3].empty()) {
        faults.cancelIdleCode = static_cast<sb4>(number);
        faults.cancelIdleMessage = std::string(f[3]);
    } else if (f.size() == 3 && f[1] == "break-blocks" && parseCount(f[2], number)) {
        faults.breakBlocksMs = static_cast<unsigned>(number);
    } else if (f.size() == 2 && f[1] == "break-ignored") {
        faults.breakIgnored = true;
    } else if (f.size() == 2 && f[1] == "idle-break") {
        faults.idleBreakLingers = true;
    } else if (f.size() == 2 && f[1] == "lose-answer") {
        faults.loseAnswer = true;
    } else {
        return "expected fault<TAB>lose-connection<TAB>N, fault<TAB>slow-execute<TAB>MS, "
               "fault<TAB>slow-logon<TAB>MS, fault<TAB>call-timeout<TAB>MS, "
               "fault<TAB>kill-marks-only, fault<TAB>cancel-idle<TAB>CODE<TAB>MESSAGE, "
               "fault<TAB>break-blocks<TAB>MS, fault<TAB>break-ignored, fault<TAB>idle-break "
               "or fault<TAB>lose-answer";
    }
    return std::nullopt;
}

std::optional<std::string> parseLine(std::string_view line, Instance& instance) {
    const std::vector<std::string_view> f = splitTabs(line);
    const std::string_view keyword = f[0];
    if (keyword == "connect") {
        if (f.size() != 2 || f[1].empty()) {
            return "expected connect<TAB>connect string (or *)";
        }
        if (f[1] == "*") {
            instance.acceptAnyConnect = true;
        } else {
            instance.connectStrings.emplace_back(f[1]);
        }
        return std::nullopt;
    }
    if (keyword == "local") {
        if (f.size() != 1) {
            return "expected local alone";
        }
        instance.acceptLocal = true;
        return std::nullopt;
    }
    if (keyword == "user") {
        return parseUser(f, instance);
    }
    if (keyword == "session") {
        return parseSession(f, instance);
    }
    if (keyword == "sql") {
        return parseStatementText(line, f, instance);
    }
    if (keyword == "generate") {
        return parseGenerate(f, instance);
    }
    if (keyword == "fault") {
        return parseFault(f, instance.faults);
    }
    constexpr std::pair<std::string_view, Table> kTables[] = {{"transaction", Table::Transaction},
                                                              {"object", Table::Objects},
                                                              {"longop", Table::Longops}};
    for (const auto& [name, table] : kTables) {
        if (keyword == name) {
            TableRow row;
            if (auto error = makeTableRow(table, {f.begin() + 1, f.end()}, row)) {
                return std::string(name) + ": " + *error;
            }
            instance.tables.push_back(std::move(row));
            return std::nullopt;
        }
    }
    return "unknown line '" + std::string(keyword) + "' (fields are separated by TABs)";
}

} // namespace

std::optional<std::string> parseFixture(std::string_view text, Instance& instance) {
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (auto error = parseLine(line, instance)) {
            return "line " + std::to_string(lineNumber) + ": " + *error;
        }
    }
    instance.sortSessions();
    instance.updateFinalBlockers();
    return std::nullopt;
}
