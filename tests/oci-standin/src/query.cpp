#include "src/query.h"

#include <algorithm>

namespace {

bool shows(View view, const Cell& instance) {
    return isGlobal(view) || instance.number == kLocalInstance;
}

template <typename Record, typename C>
bool joined(const Record& inner, const std::vector<std::pair<C, Column>>& joins, const Row& outer) {
    return std::all_of(joins.begin(), joins.end(), [&](const auto& join) {
        return sameValue(inner.cell(join.first), outer.cell(join.second),
                         columnInfo(join.second).kind);
    });
}

std::optional<OraError> evaluate(const CursorLookup& lookup, const Instance& instance,
                                 const Row& outer, Cell& value) {
    const Cell* found = nullptr;
    for (const CachedStatement& cursor : instance.sharedPool) {
        if (!shows(lookup.view, cursor.cell(SqlColumn::InstId)) ||
            !joined(cursor, lookup.joins, outer)) {
            continue;
        }
        // Several child cursors of one statement are usual; without ROWNUM = 1 that fails.
        if (found != nullptr) {
            return oraError(ora::SubqueryRows);
        }
        found = &cursor.cell(lookup.selected);
        if (lookup.firstRowOnly) {
            break;
        }
    }
    value = found != nullptr ? *found : Cell{};
    return std::nullopt;
}

std::optional<OraError> evaluate(const SessionCount& count, const Instance& instance,
                                 const Row& outer, Cell& value) {
    sb8 matches = 0;
    const Cell here = numberCell(kLocalInstance);
    auto onConnectedInstance = [&](const Row& row) {
        return std::all_of(
            count.onConnectedInstance.begin(), count.onConnectedInstance.end(),
            [&](Column c) { return sameValue(row.cell(c), here, ColumnKind::Number); });
    };
    for (const RowPtr& row : instance.sessions) {
        if (shows(count.view, row->cell(Column::InstId)) && joined(*row, count.joins, outer) &&
            onConnectedInstance(*row)) {
            ++matches;
            if (count.firstRowOnly) {
                break;
            }
        }
    }
    value = numberCell(matches);
    return std::nullopt;
}

std::optional<OraError> evaluate(const ConnectedInstance&, const Instance&, const Row&,
                                 Cell& value) {
    value = numberCell(kLocalInstance);
    return std::nullopt;
}

bool lessThan(const Cell& a, const Cell& b, ColumnKind kind) {
    return !a.null && !b.null &&
           (kind == ColumnKind::Number ? a.number < b.number : a.text < b.text);
}

// Ranks first for KEEP (DENSE_RANK FIRST ORDER BY column): the smaller value, NULLs last.
bool ranksFirst(const Cell& a, const Cell& b, ColumnKind kind) {
    return !a.null && (b.null || lessThan(a, b, kind));
}

std::optional<OraError> evaluate(const TableLookup& lookup, const Instance& instance,
                                 const Row& outer, Cell& value) {
    const Table table = lookup.selected.table;
    const auto instanceColumn = tableInstance(table);
    const TableRow* found = nullptr;
    for (const TableRow& row : instance.tables) {
        if (row.table != table ||
            (instanceColumn && !shows(lookup.view, row.cell(*instanceColumn))) ||
            !joined(row, lookup.joins, outer) ||
            !std::all_of(lookup.less.begin(), lookup.less.end(), [&](const auto& pair) {
                return lessThan(row.cell(pair.first), row.cell(pair.second),
                                tableColumnInfo(pair.first).kind);
            })) {
            continue;
        }
        if (lookup.firstBy) {
            const ColumnKind kind = tableColumnInfo(*lookup.firstBy).kind;
            const ColumnKind selectedKind = tableColumnInfo(lookup.selected).kind;
            // Among rows ranked alike, MAX picks the greatest value.
            if (found == nullptr ||
                ranksFirst(row.cell(*lookup.firstBy), found->cell(*lookup.firstBy), kind) ||
                (!ranksFirst(found->cell(*lookup.firstBy), row.cell(*lookup.firstBy), kind) &&
                 lessThan(found->cell(lookup.selected), row.cell(lookup.selected), selectedKind))) {
                found = &row;
            }
            continue;
        }
        if (found != nullptr) {
            return oraError(ora::SubqueryRows);
        }
        found = &row;
        if (lookup.firstRowOnly) {
            break;
        }
    }
    value = found != nullptr ? found->cell(lookup.selected) : Cell{};
    return std::nullopt;
}

} // namespace

std::optional<OraError> runSessionQuery(const SessionQuery& query, const Instance& instance,
                                        std::vector<RowPtr>& rows, std::vector<Cell>& computed) {
    rows.reserve(instance.sessions.size());
    for (const RowPtr& row : instance.sessions) {
        if (!shows(query.view, row->cell(Column::InstId))) {
            continue;
        }
        const bool matches =
            std::all_of(query.filters.begin(), query.filters.end(),
                        [&](const Filter& filter) {
                            return sameValue(row->cell(filter.column), filter.value,
                                             columnInfo(filter.column).kind);
                        }) &&
            std::all_of(query.exists.begin(), query.exists.end(), [&](const SessionCount& sub) {
                Cell found;
                evaluate(sub, instance, *row, found);
                return found.number > 0;
            });
        if (matches) {
            rows.push_back(row);
        }
    }
    if (query.sidOrderAcrossInstances) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const RowPtr& a, const RowPtr& b) { return sidOrderLess(*a, *b); });
    }
    if (query.nullFirstBy) {
        std::stable_partition(rows.begin(), rows.end(), [&](const RowPtr& row) {
            return row->cell(*query.nullFirstBy).null;
        });
    }
    computed.resize(rows.size() * query.subqueries.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t s = 0; s < query.subqueries.size(); ++s) {
            Cell& value = computed[r * query.subqueries.size() + s];
            const auto error = std::visit(
                [&](const auto& sub) { return evaluate(sub, instance, *rows[r], value); },
                query.subqueries[s]);
            if (error) {
                return error;
            }
        }
    }
    return std::nullopt;
}
