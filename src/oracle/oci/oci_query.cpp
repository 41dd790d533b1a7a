#include "oracle/oci/oci_query.h"

#include "oracle/database.h"
#include "oracle/oci/oci_columns.h"
#include "oracle/oci/oci_error.h"
#include "oracle/oci/oci_handles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ora::binding {

namespace {

constexpr ub2 kTruncated = 1406;
// Rows each round trip brings at least, the execute's included: a result of fewer rows comes
// whole, with its end, in the execute's round trip.
constexpr ub4 kPrefetchRows = 1000;

// One column's define arrays: one element per row of the fetch array.
struct ColumnBuffer {
    ColumnPlan plan;
    std::vector<char> values;
    std::vector<sb2> indicators;
    std::vector<ub4> lengths;
    std::vector<ub2> codes;

    ColumnBuffer(const ColumnPlan& p, ub4 rows)
        : plan(p), values(p.elementSize * rows), indicators(rows), lengths(rows), codes(rows) {}
};

size_t BufferBytesPerRow(const ColumnPlan& plan) {
    return plan.elementSize + sizeof(sb2) + sizeof(ub4) + sizeof(ub2);
}

std::vector<ColumnDescription> Describe(const OciApi& api, OCIStmt* statement, OCIError* error) {
    ub4 count = 0;
    CheckOci(api,
             api.AttrGet(statement, oci::HTYPE_STMT, &count, nullptr, oci::ATTR_PARAM_COUNT, error),
             error);
    std::vector<ColumnDescription> columns;
    for (ub4 position = 1; position <= count; ++position) {
        const OciParam param(api, statement, error, position);
        ColumnDescription column;
        column.dataType = param.attributeUb2(oci::ATTR_DATA_TYPE);
        column.dataSize = param.attributeUb2(oci::ATTR_DATA_SIZE);
        if (IsCharacterType(column.dataType))
            column.charSize = param.attributeUb2(oci::ATTR_CHAR_SIZE);
        columns.push_back(column);
    }
    return columns;
}

void Define(const OciApi& api, OCIStmt* statement, OCIError* error, ub4 position,
            ColumnBuffer& buffer) {
    OCIDefine* define = nullptr; // belongs to the statement
    CheckOci(api,
             api.DefineByPos2(statement, &define, error, position, buffer.values.data(),
                              static_cast<sb8>(buffer.plan.elementSize), buffer.plan.defineType,
                              buffer.indicators.data(), buffer.lengths.data(), buffer.codes.data(),
                              oci::DEFAULT),
             error);
}

// Moves one fetched cell into the store. A value that did not fit is an error: the user must
// never see a silently shortened value.
void StoreCell(RowStore& store, const ColumnBuffer& buffer, ub4 row, int column) {
    const sb2 indicator = buffer.indicators[row];
    if (indicator == oci::IND_NULL) {
        store.appendNull();
        return;
    }
    const ub2 code = buffer.codes[row];
    const size_t size = buffer.plan.elementSize;
    if (indicator != oci::IND_NOTNULL || code == kTruncated || buffer.lengths[row] > size) {
        throw OraError(
            QStringLiteral("列 %1 の値が受け取り領域 (%2 バイト) に収まりません (ORA-01406)")
                .arg(column + 1)
                .arg(size),
            kTruncated);
    }
    if (code != 0) {
        throw OraError(QStringLiteral("列 %1 の値を取得できません (ORA-%2)")
                           .arg(column + 1)
                           .arg(code, 5, 10, QLatin1Char('0')),
                       code);
    }
    const char* element = buffer.values.data() + size * row;
    if (buffer.plan.kind == ColumnKind::Date) {
        OCIDateValue date;
        std::memcpy(&date, element, sizeof date);
        store.appendDate(date);
    } else {
        store.appendText(element, buffer.lengths[row]);
    }
}

// What the first `rows` rows of the define arrays take in a RowStore.
size_t BatchBytes(const std::vector<ColumnBuffer>& buffers, ub4 rows) {
    size_t bytes = 0;
    for (const ColumnBuffer& buffer : buffers) {
        if (buffer.plan.kind == ColumnKind::Date) {
            bytes += sizeof(OCIDateValue) * rows;
            continue;
        }
        for (ub4 row = 0; row < rows; ++row) {
            if (buffer.indicators[row] != oci::IND_NULL)
                bytes += std::min<size_t>(buffer.lengths[row], buffer.plan.elementSize);
        }
    }
    return bytes;
}

} // namespace

RowStore FetchAll(const OciApi& api, OCISvcCtx* service, OCIError* error, const QByteArray& sql) {
    const OciStatement statement(api, service, error, sql);
    OCIStmt* stmt = statement.get();
    // A query is executed without fetching (the rows come through the defines); anything else
    // has to run once, so that the server, not the client, judges the statement and the user
    // sees its error (ORA-00900) rather than the client's complaint about the iteration count.
    ub2 type = 0;
    CheckOci(api, api.AttrGet(stmt, oci::HTYPE_STMT, &type, nullptr, oci::ATTR_STMT_TYPE, error),
             error);
    const ub4 iterations = type == oci::STMT_SELECT ? 0 : 1;
    if (type == oci::STMT_SELECT) {
        // The execute's own round trip brings the first rows, and with a short result also
        // the end of the cursor, so a typical search costs one round trip in all.
        ub4 prefetch = kPrefetchRows;
        CheckOci(api,
                 api.AttrSet(stmt, oci::HTYPE_STMT, &prefetch, sizeof prefetch,
                             oci::ATTR_PREFETCH_ROWS, error),
                 error);
    }
    CheckOci(api,
             api.StmtExecute(service, stmt, error, iterations, 0, nullptr, nullptr, oci::DEFAULT),
             error);

    std::vector<ColumnPlan> plans;
    std::vector<ColumnKind> kinds;
    size_t bytesPerRow = 0;
    for (const ColumnDescription& column : Describe(api, stmt, error)) {
        plans.push_back(PlanColumn(column));
        kinds.push_back(plans.back().kind);
        bytesPerRow += BufferBytesPerRow(plans.back());
    }
    const ub4 arrayRows = FetchArrayRows(bytesPerRow);
    std::vector<ColumnBuffer> buffers;
    buffers.reserve(plans.size());
    for (const ColumnPlan& plan : plans) {
        buffers.emplace_back(plan, arrayRows);
        Define(api, stmt, error, static_cast<ub4>(buffers.size()), buffers.back());
    }

    RowStore store(std::move(kinds));
    for (;;) {
        const sword rc = api.StmtFetch2(stmt, error, arrayRows, oci::FETCH_NEXT, 0, oci::DEFAULT);
        if (rc != oci::NO_DATA)
            CheckOci(api, rc, error);
        // The last call, the one that reports the end, may still have filled some rows.
        ub4 fetched = 0;
        CheckOci(
            api,
            api.AttrGet(stmt, oci::HTYPE_STMT, &fetched, nullptr, oci::ATTR_ROWS_FETCHED, error),
            error);
        if (fetched > arrayRows) {
            throw OraError(
                QStringLiteral("Oracle クライアント ライブラリが受け取り領域を超える行数 "
                               "(%1 行) を報告しました")
                    .arg(fetched));
        }
        if (fetched > 0)
            store.reserve(fetched, BatchBytes(buffers, fetched));
        for (ub4 row = 0; row < fetched; ++row) {
            for (size_t column = 0; column < buffers.size(); ++column)
                StoreCell(store, buffers[column], row, static_cast<int>(column));
        }
        // A call that fills nothing without reporting the end would otherwise loop for ever.
        if (rc == oci::NO_DATA || fetched == 0)
            break;
    }
    return store;
}

} // namespace ora::binding
