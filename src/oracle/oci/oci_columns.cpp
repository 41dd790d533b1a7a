#include "oracle/oci/oci_columns.h"

#include <algorithm>

namespace ora::binding {

namespace {
// A character of the AL32UTF8 client may take up to 4 bytes whatever the server stores.
constexpr size_t kMaxUtf8BytesPerChar = 4;
// NUMBER as text: at most 40 digits, sign, point and exponent.
constexpr size_t kNumberTextBytes = 64;
// About 1 MB: enough rows per round trip, little memory held for a short list.
constexpr size_t kFetchBufferBudget = 1024 * 1024;
constexpr size_t kMinFetchRows = 500;
constexpr size_t kMaxFetchRows = 2000;
} // namespace

bool IsCharacterType(ub2 dataType) {
    return dataType == oci::SQLT_CHR || dataType == oci::SQLT_AFC;
}

ColumnPlan PlanColumn(const ColumnDescription& column) {
    if (column.dataType == oci::SQLT_DAT)
        return {ColumnKind::Date, oci::SQLT_ODT, sizeof(OCIDateValue)};
    if (column.dataType == oci::SQLT_NUM)
        return {ColumnKind::Text, oci::SQLT_CHR, kNumberTextBytes};
    const size_t chars = std::max<size_t>(column.dataSize, column.charSize);
    const size_t bytes = chars * kMaxUtf8BytesPerChar;
    // Other types come as the server's text form, which may be longer than their stored size
    // (a TIMESTAMP is 11 bytes but some 30 characters of text).
    const size_t floor = IsCharacterType(column.dataType) ? 1 : kNumberTextBytes;
    return {ColumnKind::Text, oci::SQLT_CHR, std::max(bytes, floor)};
}

ub4 FetchArrayRows(size_t bufferBytesPerRow) {
    const size_t fit = kFetchBufferBudget / std::max<size_t>(bufferBytesPerRow, 1);
    return static_cast<ub4>(std::clamp(fit, kMinFetchRows, kMaxFetchRows));
}

} // namespace ora::binding
