#include "src/instance.h"

#include <algorithm>
#include <cstdio>

namespace {

bool isSession(const Row& row, const SessionId& id) {
    return !row.cell(Column::Sid).null && !row.cell(Column::Serial).null &&
           row.number(Column::Sid) == id.sid && row.number(Column::Serial) == id.serial &&
           row.number(Column::InstId) == id.instance;
}

// What every generated session shows in the details, shared by all of them: idle
// connections of an application server.
std::shared_ptr<const Details> generatedDetails() {
    Row row;
    setCell(row, Column::Machine, "apphost");
    setCell(row, Column::Module, "JDBC Thin Client");
    setCell(row, Column::Process, "1234");
    setCell(row, Column::Server, "DEDICATED");
    setCell(row, Column::Event, "SQL*Net message from client");
    setCell(row, Column::SecondsInWait, "0");
    setCell(row, Column::LastCallEt, "0");
    return row.details;
}

} // namespace

bool Instance::accepts(std::string_view connectString) const {
    if (connectString.empty()) {
        return acceptLocal;
    }
    return acceptAnyConnect || std::find(connectStrings.begin(), connectStrings.end(),
                                         connectString) != connectStrings.end();
}

const User* Instance::externalUser() const {
    for (const auto& [name, user] : users) {
        if (user.external) {
            return &user;
        }
    }
    return nullptr;
}

const User* Instance::findUser(std::string_view name) const {
    auto found = users.find(upperAscii(name));
    return found == users.end() ? nullptr : &found->second;
}

sb8 Instance::highestSid(sb8 instance) const {
    sb8 sid = 0;
    for (const RowPtr& row : sessions) {
        if (row->number(Column::InstId) == instance && !row->cell(Column::Sid).null) {
            sid = std::max(sid, row->number(Column::Sid));
        }
    }
    return sid;
}

std::optional<std::string> Instance::generate(unsigned long count,
                                              std::optional<std::string_view> terminal,
                                              unsigned long instances) {
    if (instances == 0) {
        return "the instance count must be at least 1";
    }
    const std::shared_ptr<const Details> details = generatedDetails();
    sessions.reserve(sessions.size() + count);
    char buffer[64];
    for (unsigned long instance = 1; instance <= instances; ++instance) {
        const unsigned long share = count / instances + (instance <= count % instances ? 1 : 0);
        sb8 sid = highestSid(static_cast<sb8>(instance));
        for (unsigned long i = 0; i < share; ++i) {
            ++sid;
            auto row = std::make_shared<Row>();
            auto put = [&](Column column, std::string_view text) {
                return setCell(*row, column, text);
            };
            const auto number = static_cast<long long>(sid);
            const auto node = static_cast<long long>(instance);
            setNumber(*row, Column::Sid, sid);
            setNumber(*row, Column::Serial, (number * 7919 + (node - 1) * 31) % 60000 + 1);
            setNumber(*row, Column::InstId, node);
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
                          number % 12 + 1, number % 28 + 1, minutes / 60, minutes % 60,
                          number % 60);
            put(Column::LogonTime, buffer);
            row->details = details;
            sessions.push_back(std::move(row));
        }
    }
    return std::nullopt;
}

void Instance::sortSessions() {
    auto less = [](const RowPtr& a, const RowPtr& b) { return sessionOrderLess(*a, *b); };
    // Generated sessions usually come in order already.
    if (!std::is_sorted(sessions.begin(), sessions.end(), less)) {
        std::stable_sort(sessions.begin(), sessions.end(), less);
    }
}

KillOutcome Instance::kill(const SessionId& id, bool immediate) {
    auto found = std::find_if(sessions.begin(), sessions.end(),
                              [&](const RowPtr& row) { return isSession(*row, id); });
    if (found == sessions.end()) {
        return KillOutcome::NoSuchSession;
    }
    if ((*found)->stubborn && !immediate) {
        // It cannot be interrupted now: marked, it ends at the next kill.
        auto marked = std::make_shared<Row>(**found);
        marked->stubborn = false;
        setCell(*marked, Column::Status, "KILLED");
        *found = std::move(marked);
        return KillOutcome::Marked;
    }
    const RowPtr gone = *found;
    sessions.erase(found);
    releaseBlockedBy(*gone);
    updateFinalBlockers();
    return KillOutcome::Ended;
}

KillOutcome Instance::disconnect(const SessionId& id, bool postTransaction) {
    const auto found = std::find_if(sessions.begin(), sessions.end(),
                                    [&](const RowPtr& row) { return isSession(*row, id); });
    if (found == sessions.end()) {
        return KillOutcome::NoSuchSession;
    }
    // A session holding a transaction (the word, or a taddr) waits for it to end.
    if (postTransaction && ((*found)->openTransaction || !(*found)->cell(Column::Taddr).null)) {
        auto marked = std::make_shared<Row>(**found);
        setCell(*marked, Column::Status, "KILLED");
        *found = std::move(marked);
        return KillOutcome::Marked;
    }
    // Without a transaction to wait for it goes at once, as with a kill.
    return kill(id, true);
}

CancelOutcome Instance::cancel(const SessionId& id) {
    auto found = std::find_if(sessions.begin(), sessions.end(),
                              [&](const RowPtr& row) { return isSession(*row, id); });
    if (found == sessions.end()) {
        return CancelOutcome::NoSuchSession;
    }
    if ((*found)->cell(Column::Status).text != "ACTIVE") {
        return CancelOutcome::Idle;
    }
    auto idle = std::make_shared<Row>(**found);
    setCell(*idle, Column::Status, "INACTIVE");
    setCell(*idle, Column::BlockingSession, std::nullopt);
    setCell(*idle, Column::BlockingInstance, std::nullopt);
    *found = std::move(idle);
    updateFinalBlockers();
    return CancelOutcome::Cancelled;
}

void Instance::updateFinalBlockers() {
    // The session a row waits for: blocking_instance defaults to the row's own instance.
    auto blockerOf = [&](const Row& row) -> const Row* {
        const Cell& sid = row.cell(Column::BlockingSession);
        if (sid.null) {
            return nullptr;
        }
        const Cell& node = row.cell(Column::BlockingInstance);
        const sb8 instance = node.null ? row.number(Column::InstId) : node.number;
        for (const RowPtr& other : sessions) {
            if (!other->cell(Column::Sid).null && other->number(Column::Sid) == sid.number &&
                other->number(Column::InstId) == instance) {
                return other.get();
            }
        }
        return nullptr;
    };
    for (RowPtr& row : sessions) {
        std::optional<std::pair<sb8, sb8>> root; // sid, instance
        const Row* at = row.get();
        // A cycle (a deadlock) ends after as many steps as there are sessions.
        for (std::size_t step = 0; step <= sessions.size(); ++step) {
            const Cell& sid = at->cell(Column::BlockingSession);
            if (sid.null) {
                break;
            }
            const Cell& node = at->cell(Column::BlockingInstance);
            root = {sid.number, node.null ? at->number(Column::InstId) : node.number};
            at = blockerOf(*at);
            if (at == nullptr) {
                break;
            }
        }
        const Cell& oldSid = row->cell(Column::FinalBlockingSession);
        const Cell& oldNode = row->cell(Column::FinalBlockingInstance);
        const bool same = root ? !oldSid.null && oldSid.number == root->first && !oldNode.null &&
                                     oldNode.number == root->second
                               : oldSid.null && oldNode.null;
        if (same) {
            continue;
        }
        auto updated = std::make_shared<Row>(*row);
        if (root) {
            setCell(*updated, Column::FinalBlockingSession, std::to_string(root->first));
            setCell(*updated, Column::FinalBlockingInstance, std::to_string(root->second));
        } else {
            setCell(*updated, Column::FinalBlockingSession, std::nullopt);
            setCell(*updated, Column::FinalBlockingInstance, std::nullopt);
        }
        row = std::move(updated);
    }
}

void Instance::releaseBlockedBy(const Row& gone) {
    for (RowPtr& row : sessions) {
        if (sameValue(row->cell(Column::BlockingSession), gone.cell(Column::Sid),
                      ColumnKind::Number) &&
            sameValue(row->cell(Column::BlockingInstance), gone.cell(Column::InstId),
                      ColumnKind::Number)) {
            auto released = std::make_shared<Row>(*row);
            setCell(*released, Column::BlockingSession, std::nullopt);
            setCell(*released, Column::BlockingInstance, std::nullopt);
            row = std::move(released);
        }
    }
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
