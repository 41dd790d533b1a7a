#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>
#include <algorithm>
#include <memory>
#include <span>
#include <vector>

// The texts of a grid's rows: each row is one string of its cells separated by NUL, and the
// strings lie one after the other in blocks of 64 KB, so that a hundred thousand rows cost
// no object each and are written and sorted without moving their text. A row that is
// written to moves to the end of the last block, where it can grow in place; the room it
// leaves behind is taken back once it outweighs the rows kept.
class RowTexts final {
public:
    // A cell to write: UTF-16 text, or UTF-8 when `isUtf8`.
    struct Cell {
        QStringView text;
        QByteArrayView utf8;
        bool isUtf8 = false;
    };

    RowTexts() = default;
    Q_DISABLE_COPY(RowTexts)
    RowTexts(RowTexts&&) = default;
    RowTexts& operator=(RowTexts&&) = default;

    size_t size() const { return mRows.size(); }
    // Rows added are empty; rows dropped are gone.
    void resize(size_t rows);
    // Valid until the next change.
    QStringView row(size_t r) const;
    // Puts `separators` NULs and then `text` in place of `length` characters of row `r` from
    // `from`. A NUL in the text becomes a blank, as it would split the cell.
    void replace(size_t r, qsizetype from, qsizetype length, qsizetype separators,
                 QStringView text);
    // The same at the end of the row: what a search does, cell after cell.
    void append(size_t r, qsizetype separators, QStringView text);
    // Appends the cells after those row `r` holds, trailing empty cells left out. UTF-8 is turned
    // into text straight in the row: a search writes a hundred thousand rows this way, with no
    // string per cell.
    void appendCells(size_t r, std::span<const Cell> cells);
    // Row i becomes what was row order[i]; `order` holds every row once.
    void reorder(const std::vector<size_t>& order);

private:
    struct Ref {
        quint32 block = 0;
        quint32 offset = 0;
        quint32 size = 0;
    };
    struct Block {
        std::unique_ptr<char16_t[]> text;
        size_t capacity = 0;
    };
    static constexpr size_t kNone = ~size_t{0};

    char16_t* at(const Ref& ref) const;
    // Makes row r the one at the end of the last block, with room for `size` characters.
    void open(size_t r, size_t size);
    void newBlock(size_t atLeast);
    void compact();

    std::vector<Ref> mRows;
    std::vector<Block> mBlocks;
    size_t mUsed = 0;     // characters used in the last block
    size_t mOpen = kNone; // the row at the end of the last block
    size_t mLive = 0;     // characters of all rows
    size_t mGarbage = 0;  // characters left behind by rows that moved or went
};

inline void RowTexts::append(size_t r, qsizetype separators, QStringView text) {
    Ref& ref = mRows[r];
    const auto added = static_cast<size_t>(separators + text.size());
    if (r != mOpen || mBlocks.back().capacity - mUsed < added) {
        replace(r, static_cast<qsizetype>(ref.size), 0, separators, text);
        return;
    }
    char16_t* out = std::fill_n(mBlocks.back().text.get() + mUsed, separators, u'\0');
    std::replace_copy(text.utf16(), text.utf16() + text.size(), out, u'\0', u' ');
    ref.size += static_cast<quint32>(added);
    mUsed += added;
    mLive += added;
}
