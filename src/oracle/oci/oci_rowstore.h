#pragma once

#include "oracle/database.h"
#include "oracle/oci/api/oci_api.h"

#include <QVariant>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

namespace ora::binding {

enum class ColumnKind : unsigned char { Text, Date };

// The fetched rows of a query, kept compactly: every cell's bytes (UTF-8 text, or the 8-byte
// OCI date) follow one another, and each cell costs one 32-bit end offset whose top bit marks
// NULL. The rows of one fetch call share one block sized for them, so a long result is never
// copied to grow. Values are only turned into QString / QDateTime when read.
class RowStore final {
public:
    explicit RowStore(std::vector<ColumnKind> kinds);

    int columnCount() const { return static_cast<int>(mKinds.size()); }
    qint64 rowCount() const;

    // Makes room for the next `rows` rows, whose cells hold at most `bytes` bytes in all.
    void reserve(size_t rows, size_t bytes);
    // Cells are appended row by row, left to right, into the room reserve() made.
    void appendText(const char* data, size_t length) { appendCell(data, length, 0); }
    void appendDate(const OCIDateValue& value) { appendCell(&value, sizeof value, 0); }
    void appendNull() { appendCell(nullptr, 0, kNullBit); }

    // Where a row lies; found once for all the cells of the row.
    struct RowRef {
        size_t block = 0;
        size_t firstCell = 0; // in the block
    };
    RowRef locate(qint64 row) const;
    // Where `row` lies, given `before`, where the row before it lies: a walk through the rows
    // stays in a block without searching for it.
    RowRef next(RowRef before, qint64 row) const {
        const size_t columns = mKinds.size();
        if (before.block < mBlocks.size() &&
            before.firstCell + 2 * columns <= mBlocks[before.block].cells)
            return {before.block, before.firstCell + columns};
        return locate(row);
    }
    // A null QVariant for NULL, a QString for text, a QDateTime for a date.
    QVariant value(RowRef row, int column) const;
    // The same without a QVariant: the UTF-8 bytes or the date's fields.
    RawValue raw(RowRef row, int column) const {
        const Block& block = mBlocks[row.block];
        const size_t cell = row.firstCell + static_cast<size_t>(column);
        const quint32 end = block.ends[cell];
        RawValue value;
        if (end & kNullBit) {
            value.kind = RawValue::Kind::Null;
            return value;
        }
        const quint32 begin = cell == 0 ? 0 : block.ends[cell - 1] & kOffsetMask;
        const char* data = block.bytes.get() + begin;
        if (mKinds[static_cast<size_t>(column)] == ColumnKind::Date) {
            OCIDateValue date;
            std::memcpy(&date, data, sizeof date);
            value.kind = RawValue::Kind::Date;
            value.date = {date.year, date.month, date.day, date.hour, date.minute, date.second};
            return value;
        }
        value.kind = RawValue::Kind::Utf8;
        value.utf8 = QByteArrayView(data, static_cast<qsizetype>(end - begin));
        return value;
    }
    // Heap bytes held for the rows.
    size_t bytesHeld() const;

private:
    static constexpr quint32 kNullBit = 0x80000000u;
    static constexpr quint32 kOffsetMask = ~kNullBit;

    // 40 bytes: a short result's bookkeeping must not outweigh its rows.
    struct Block {
        qint64 firstRow = 0;
        std::unique_ptr<char[]> bytes;
        std::unique_ptr<quint32[]> ends; // per cell, from the block's start
        quint32 used = 0, capacity = 0;
        quint32 cells = 0, cellCapacity = 0;
    };
    void appendCell(const void* data, size_t length, quint32 null) {
        Block* block = mBlocks.empty() ? nullptr : &mBlocks.back();
        if (!block || block->capacity - block->used < length || block->cells == block->cellCapacity)
            block = &overflow(length);
        if (length > 0)
            std::memcpy(block->bytes.get() + block->used, data, length);
        block->used += static_cast<quint32>(length);
        block->ends[block->cells++] = static_cast<quint32>(block->used) | null;
    }
    // A cell that does not fit the room reserved: a block of its own row's size.
    Block& overflow(size_t length);

    std::vector<ColumnKind> mKinds;
    std::vector<Block> mBlocks;
};

} // namespace ora::binding
