#include "oracle/oci/oci_rowstore.h"

#include "oracle/database.h"
#include "oracle/oci/oci_date.h"

#include <cstring>

namespace ora::binding {

namespace {
constexpr quint32 kNullBit = 0x80000000u;
constexpr quint32 kOffsetMask = ~kNullBit;
} // namespace

RowStore::RowStore(std::vector<ColumnKind> kinds) : mKinds(std::move(kinds)) {}

qint64 RowStore::rowCount() const {
    return mKinds.empty() ? 0 : static_cast<qint64>(mEnds.size() / mKinds.size());
}

void RowStore::appendText(const char* data, size_t length) {
    appendCell(data, length, false);
}

void RowStore::appendDate(const OCIDateValue& value) {
    appendCell(&value, sizeof value, false);
}

void RowStore::appendNull() {
    appendCell(nullptr, 0, true);
}

void RowStore::appendCell(const void* data, size_t length, bool null) {
    const size_t end = mArena.size() + length;
    if (end > kOffsetMask)
        throw OraError(QStringLiteral("検索結果が大きすぎて保持できません"));
    const auto* bytes = static_cast<const char*>(data);
    mArena.insert(mArena.end(), bytes, bytes + length);
    mEnds.push_back(static_cast<quint32>(end) | (null ? kNullBit : 0));
}

void RowStore::finish() {
    mArena.shrink_to_fit();
    mEnds.shrink_to_fit();
}

QVariant RowStore::value(qint64 row, int column) const {
    const size_t cell = static_cast<size_t>(row) * mKinds.size() + static_cast<size_t>(column);
    const quint32 end = mEnds.at(cell);
    if (end & kNullBit)
        return QVariant();
    const quint32 begin = cell == 0 ? 0 : mEnds[cell - 1] & kOffsetMask;
    const char* data = mArena.data() + begin;
    if (mKinds[static_cast<size_t>(column)] == ColumnKind::Date) {
        OCIDateValue date;
        std::memcpy(&date, data, sizeof date);
        return DateTimeFromOci(date);
    }
    return QString::fromUtf8(data, static_cast<qsizetype>(end - begin));
}

size_t RowStore::bytesHeld() const {
    return mArena.capacity() + mEnds.capacity() * sizeof(quint32) +
           mKinds.capacity() * sizeof(ColumnKind);
}

} // namespace ora::binding
