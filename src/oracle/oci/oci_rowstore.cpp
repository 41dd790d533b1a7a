#include "oracle/oci/oci_rowstore.h"

#include "oracle/oci/oci_date.h"

#include <algorithm>
#include <cstring>

namespace ora::binding {

RowStore::RowStore(std::vector<ColumnKind> kinds) : mKinds(std::move(kinds)) {}

qint64 RowStore::rowCount() const {
    if (mBlocks.empty() || mKinds.empty())
        return 0;
    const Block& last = mBlocks.back();
    return last.firstRow + static_cast<qint64>(last.cells / mKinds.size());
}

void RowStore::reserve(size_t rows, size_t bytes) {
    if (bytes > kOffsetMask)
        throw OraError(QStringLiteral("検索結果が大きすぎて保持できません"));
    const qint64 firstRow = rowCount();
    // A block left without cells gives way to the new one.
    if (!mBlocks.empty() && mBlocks.back().cells == 0)
        mBlocks.pop_back();
    Block& block = mBlocks.emplace_back();
    block.firstRow = firstRow;
    const size_t cells = rows * mKinds.size();
    if (cells > kOffsetMask)
        throw OraError(QStringLiteral("検索結果が大きすぎて保持できません"));
    block.capacity = static_cast<quint32>(bytes);
    block.bytes = std::make_unique_for_overwrite<char[]>(bytes);
    block.cellCapacity = static_cast<quint32>(cells);
    block.ends = std::make_unique_for_overwrite<quint32[]>(cells);
}

RowStore::Block& RowStore::overflow(size_t length) {
    // Only cells beyond the room reserved get here: the last block grows for them.
    if (mBlocks.empty())
        reserve(1, length);
    Block& block = mBlocks.back();
    if (block.used + length > kOffsetMask || block.cells >= kOffsetMask)
        throw OraError(QStringLiteral("検索結果が大きすぎて保持できません"));
    if (block.capacity - block.used < length) {
        const size_t capacity = std::min<size_t>(
            std::max<size_t>(2 * size_t{block.capacity}, block.used + length), kOffsetMask);
        auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
        std::memcpy(bytes.get(), block.bytes.get(), block.used);
        block.bytes = std::move(bytes);
        block.capacity = static_cast<quint32>(capacity);
    }
    if (block.cells == block.cellCapacity) {
        const size_t capacity = std::max<size_t>(2 * size_t{block.cellCapacity}, mKinds.size());
        auto ends = std::make_unique_for_overwrite<quint32[]>(capacity);
        std::copy_n(block.ends.get(), block.cells, ends.get());
        block.ends = std::move(ends);
        block.cellCapacity = static_cast<quint32>(capacity);
    }
    return block;
}

RowStore::RowRef RowStore::locate(qint64 row) const {
    // The block holding the row: the last one that starts at or before it.
    const auto after = std::upper_bound(mBlocks.begin(), mBlocks.end(), row,
                                        [](qint64 r, const Block& b) { return r < b.firstRow; });
    if (after == mBlocks.begin() || row < 0 || row >= rowCount())
        throw OraError(QStringLiteral("現在の行がありません (最後の行を過ぎています)"));
    const auto block = static_cast<size_t>(after - mBlocks.begin() - 1);
    return {block, static_cast<size_t>(row - mBlocks[block].firstRow) * mKinds.size()};
}

QVariant RowStore::value(RowRef row, int column) const {
    const RawValue cell = raw(row, column);
    switch (cell.kind) {
    case RawValue::Kind::Null:
    case RawValue::Kind::Variant:
        return QVariant();
    case RawValue::Kind::Date:
        return DateTimeFromOci({cell.date.year, cell.date.month, cell.date.day, cell.date.hour,
                                cell.date.minute, cell.date.second, 0});
    case RawValue::Kind::Utf8:
        break;
    }
    return QString::fromUtf8(cell.utf8);
}

size_t RowStore::bytesHeld() const {
    size_t held = mBlocks.capacity() * sizeof(Block) + mKinds.capacity() * sizeof(ColumnKind);
    for (const Block& block : mBlocks)
        held += block.capacity + size_t{block.cellCapacity} * sizeof(quint32);
    return held;
}

} // namespace ora::binding
