// Defining output arrays and fetching rows into them.

#include <cstring>
#include <type_traits>

#include "src/export.h"
#include "src/fetch.h"
#include "src/runtime.h"

namespace {

bool acceptsType(ColumnKind kind, ub2 type, sb8 size) {
    switch (kind) {
    case ColumnKind::Number:
        return (type == oci::SQLT_CHR && size > 0) || (type == oci::SQLT_INT && size == 8);
    case ColumnKind::Text:
        return type == oci::SQLT_CHR && size > 0;
    case ColumnKind::Date:
        return (type == oci::SQLT_ODT && size >= static_cast<sb8>(sizeof(OCIDateValue))) ||
               (type == oci::SQLT_DAT && size >= 7);
    }
    return false;
}

struct FetchOutcome {
    bool truncated = false;
    bool nullWithoutIndicator = false;
    bool truncatedWithoutIndicator = false;
};

// `row` is the session the value belongs to; its dates are kept there.
void copyCell(const Define& define, std::size_t index, const Cell& cell, const Row& row,
              const SelectItem& item, FetchOutcome& outcome) {
    bool null = cell.null;
    std::string_view text = cell.text;
    if (null && item.nvl) {
        null = false;
        text = *item.nvl;
    }
    if (null) {
        // The value buffer is left as it was, as OCI does.
        if (define.indicators != nullptr) {
            define.indicators[index] = oci::IND_NULL;
        } else {
            outcome.nullWithoutIndicator = true;
        }
        if (define.lengths != nullptr) {
            define.lengths[index] = 0;
        }
        if (define.codes != nullptr) {
            define.codes[index] = define.indicators != nullptr ? 0 : ora::NullFetched;
        }
        return;
    }
    char* value = define.values + static_cast<std::ptrdiff_t>(index) * define.valueSize;
    std::size_t written = 0;
    std::size_t full = 0;
    switch (define.type) {
    case oci::SQLT_CHR:
        full = text.size();
        written = std::min<std::size_t>(full, static_cast<std::size_t>(define.valueSize));
        std::memcpy(value, text.data(), written);
        break;
    case oci::SQLT_INT:
        written = sizeof(sb8);
        std::memcpy(value, &cell.number, written);
        break;
    case oci::SQLT_ODT:
        written = sizeof row.dateValue;
        std::memcpy(value, &row.dateValue, written);
        break;
    case oci::SQLT_DAT:
        written = row.date.size();
        std::memcpy(value, row.date.data(), written);
        break;
    }
    if (define.lengths != nullptr) {
        define.lengths[index] = static_cast<ub4>(written);
    }
    const bool cut = written < full;
    if (cut) {
        outcome.truncated = true;
        outcome.truncatedWithoutIndicator = define.indicators == nullptr;
    }
    if (define.indicators != nullptr) {
        // A truncated value's indicator is its real length, -2 when that does not fit.
        define.indicators[index] = !cut           ? oci::IND_NOTNULL
                                   : full > 32767 ? sb2{-2}
                                                  : static_cast<sb2>(full);
    }
    if (define.codes != nullptr) {
        define.codes[index] = cut ? ora::Truncated : 0;
    }
}

} // namespace

void transferRows(Statement& statement, std::size_t wanted) {
    const std::size_t asked = std::max<std::size_t>(wanted, statement.prefetchRows);
    const std::size_t left = statement.rows.size() - statement.next - statement.buffered;
    const std::size_t sent = std::min(asked, left);
    statement.buffered += sent;
    statement.serverDone = sent < asked;
}

sword fetchRows(Statement& statement, ErrorHandle* errors, ub4 rows) {
    FetchOutcome outcome;
    const std::size_t count = std::min<std::size_t>(rows, statement.buffered);
    {
        ProduceTimer timer;
        const SessionQuery& query = *statement.query();
        for (const auto& define : statement.defines) {
            if (define == nullptr) {
                continue;
            }
            const SelectItem& item = query.items[define->item];
            const auto* column = std::get_if<Column>(&item.source);
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t r = statement.next + i;
                const Row& row = *statement.rows[r];
                const Cell& cell = column != nullptr
                                       ? row.cell(*column)
                                       : statement.computed[r * query.subqueries.size() +
                                                            std::get<std::size_t>(item.source)];
                copyCell(*define, i, cell, row, item, outcome);
            }
        }
    }
    statement.next += count;
    statement.buffered -= count;
    statement.rowsFetched = static_cast<ub4>(count);
    if (outcome.nullWithoutIndicator) {
        return fail(errors, ora::NullFetched);
    }
    if (outcome.truncatedWithoutIndicator) {
        return fail(errors, ora::Truncated);
    }
    if (count < rows) {
        // The end was reached, possibly after delivering some rows.
        statement.cursorOpen = false;
        fail(errors, ora::NoDataFound);
        return oci::NO_DATA;
    }
    if (outcome.truncated) {
        fail(errors, ora::TruncationOrNull);
        return oci::SUCCESS_WITH_INFO;
    }
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIDefineByPos2(OCIStmt* stmtp, OCIDefine** defnpp, OCIError* errhp,
                                     ub4 position, void* valuep, sb8 value_sz, ub2 dty, void* indp,
                                     ub4* rlenp, ub2* rcodep, ub4 /*mode*/) {
    Statement* statement = lookup<Statement>(stmtp);
    ErrorHandle* errors = errorsFor(errhp);
    if (statement == nullptr || errors == nullptr || defnpp == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!statement->prepared) {
        return fail(errors, ora::NotPrepared);
    }
    const SessionQuery* query = statement->query();
    if (query == nullptr || position < 1 || position > query->items.size()) {
        return fail(errors, ora::NotInSelectList);
    }
    const SelectItem& item = query->items[position - 1];
    if (valuep == nullptr || !acceptsType(item.type.kind, dty, value_sz)) {
        return fail(errors, ora::InconsistentTypes);
    }
    statement->defines.resize(query->items.size());
    auto& define = statement->defines[position - 1];
    if (define == nullptr) {
        define = std::make_unique<Define>();
    }
    define->item = position - 1;
    define->values = static_cast<char*>(valuep);
    define->valueSize = value_sz;
    define->type = dty;
    define->indicators = static_cast<sb2*>(indp);
    define->lengths = rlenp;
    define->codes = rcodep;
    *defnpp = toOci<OCIDefine>(define.get());
    return oci::SUCCESS;
}

STANDIN_EXPORT sword OCIStmtFetch2(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation,
                                   sb4 /*fetchOffset*/, ub4 /*mode*/) {
    Statement* statement = lookup<Statement>(stmtp);
    ErrorHandle* errors = errorsFor(errhp);
    if (statement == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    if (!statement->described) {
        return fail(errors, ora::NotExecuted);
    }
    // The cursor is not scrollable; OCI_DEFAULT (0) means the same as OCI_FETCH_NEXT.
    if (orientation != oci::FETCH_NEXT && orientation != 0) {
        return fail(errors, ora::InvalidFetch);
    }
    // Fetching again after OCI_NO_DATA is a caller bug worth seeing.
    if (!statement->cursorOpen) {
        return fail(errors, ora::FetchOutOfSequence);
    }
    if (nrows == 0) {
        // Cancelling the cursor tells the server.
        if (auto lost = statement->service->roundTrip()) {
            return fail(errors, *lost);
        }
        statement->cursorOpen = false;
        statement->rowsFetched = 0;
        return oci::SUCCESS;
    }
    // Rows that came with an earlier call, or the known end, need no round trip.
    if (statement->buffered < nrows && !statement->serverDone) {
        if (auto lost = statement->service->roundTrip()) {
            return fail(errors, *lost);
        }
        transferRows(*statement, nrows - statement->buffered);
    }
    return fetchRows(*statement, errors, nrows);
}

static_assert(std::is_same_v<decltype(&OCIDefineByPos2), OCIDefineByPos2_t*>);
static_assert(std::is_same_v<decltype(&OCIStmtFetch2), OCIStmtFetch2_t*>);
