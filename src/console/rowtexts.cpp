#include "console/rowtexts.h"

#include <QString>
#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kBlockChars = 32 * 1024;

// Widens the N bytes at `in` to `out` if none is a NUL or above ASCII. Fixed-size copies
// through a local array are what the compiler turns into a few vector instructions.
template <typename Word> bool WidenAscii(const unsigned char* in, char16_t* out) {
    constexpr Word kOnes = static_cast<Word>(0x0101010101010101u);
    constexpr Word kHighs = static_cast<Word>(0x8080808080808080u);
    unsigned char bytes[sizeof(Word)];
    std::memcpy(bytes, in, sizeof bytes);
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    // A byte at 0x80 or above has its high bit set; with none such, a NUL borrows into one.
    if (static_cast<Word>((word - kOnes) | word) & kHighs)
        return false;
    for (size_t i = 0; i < sizeof(Word); ++i)
        out[i] = bytes[i];
    return true;
}

// Writes UTF-8 as text at `out`, which has room for as many characters as it has bytes; a
// NUL becomes a blank. ASCII, nearly every cell, is widened in the same pass as it is checked,
// eight bytes at a time while they are plain.
char16_t* WriteUtf8(QByteArrayView utf8, char16_t* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const qsizetype size = utf8.size();
    qsizetype i = 0;
    while (size - i >= 8 && WidenAscii<quint64>(in + i, out + i))
        i += 8;
    if (size - i >= 4 && WidenAscii<quint32>(in + i, out + i))
        i += 4;
    unsigned char high = 0;
    for (; i < size; ++i) {
        const unsigned char c = in[i];
        high |= c;
        out[i] = c == 0 ? u' ' : c;
    }
    if (high < 0x80)
        return out + size;
    // Never longer than its bytes: an invalid byte becomes one replacement character.
    const QString text = QString::fromUtf8(utf8);
    return std::replace_copy(text.utf16(), text.utf16() + text.size(), out, u'\0', u' ');
}
} // namespace

char16_t* RowTexts::at(const Ref& ref) const {
    return ref.size == 0 ? nullptr : mBlocks[ref.block].text.get() + ref.offset;
}

QStringView RowTexts::row(size_t r) const {
    const Ref& ref = mRows[r];
    return QStringView(at(ref), static_cast<qsizetype>(ref.size));
}

void RowTexts::newBlock(size_t atLeast) {
    const size_t capacity = std::max(kBlockChars, atLeast);
    mBlocks.push_back({std::make_unique_for_overwrite<char16_t[]>(capacity), capacity});
    mUsed = 0;
}

void RowTexts::open(size_t r, size_t size) {
    Ref& ref = mRows[r];
    if (r == mOpen) {
        if (mBlocks.back().capacity - ref.offset >= size)
            return;
        // The row leaves the end of its block, which takes the room back.
        const char16_t* from = at(ref);
        newBlock(size);
        // An empty row has no text to carry (and memcpy takes no null source).
        if (ref.size > 0)
            std::memcpy(mBlocks.back().text.get(), from, ref.size * sizeof(char16_t));
        ref.block = static_cast<quint32>(mBlocks.size() - 1);
        ref.offset = 0;
        mUsed = ref.size;
        return;
    }
    if (mBlocks.empty() || mBlocks.back().capacity - mUsed < size)
        newBlock(size);
    char16_t* to = mBlocks.back().text.get() + mUsed;
    if (ref.size > 0) {
        std::memcpy(to, at(ref), ref.size * sizeof(char16_t));
        mGarbage += ref.size;
    }
    ref.block = static_cast<quint32>(mBlocks.size() - 1);
    ref.offset = static_cast<quint32>(mUsed);
    mUsed += ref.size;
    mOpen = r;
}

void RowTexts::replace(size_t r, qsizetype from, qsizetype length, qsizetype separators,
                       QStringView text) {
    const size_t old = mRows[r].size;
    const auto start = static_cast<size_t>(from);
    const auto cut = static_cast<size_t>(length);
    const size_t added = static_cast<size_t>(separators + text.size());
    const size_t size = old - cut + added;
    // Moving a row copies it whole before it changes.
    open(r, std::max(old, size));
    Ref& ref = mRows[r];
    char16_t* row = mBlocks[ref.block].text.get() + ref.offset;
    std::memmove(row + start + added, row + start + cut, (old - start - cut) * sizeof(char16_t));
    char16_t* out = std::fill_n(row + start, separators, u'\0');
    std::replace_copy(text.utf16(), text.utf16() + text.size(), out, u'\0', u' ');
    ref.size = static_cast<quint32>(size);
    mUsed = ref.offset + size;
    mLive = mLive - old + size;
    if (mGarbage > kBlockChars && mGarbage > mLive)
        compact();
}

void RowTexts::appendCells(size_t r, std::span<const Cell> cells) {
    size_t room = 0;
    size_t count = 0; // cells up to the last one that is not empty
    for (size_t i = 0; i < cells.size(); ++i) {
        const auto size =
            static_cast<size_t>(cells[i].isUtf8 ? cells[i].utf8.size() : cells[i].text.size());
        room += size;
        if (size > 0)
            count = i + 1;
    }
    if (count == 0)
        return;
    room += count - 1 + (mRows[r].size > 0 ? 1 : 0);
    open(r, mRows[r].size + room);
    Ref& ref = mRows[r];
    char16_t* const start = mBlocks[ref.block].text.get() + ref.offset + ref.size;
    char16_t* out = start;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 || ref.size > 0)
            *out++ = u'\0';
        const Cell& cell = cells[i];
        out = cell.isUtf8
                  ? WriteUtf8(cell.utf8, out)
                  : std::replace_copy(cell.text.utf16(), cell.text.utf16() + cell.text.size(), out,
                                      u'\0', u' ');
    }
    const auto added = static_cast<size_t>(out - start);
    ref.size += static_cast<quint32>(added);
    mUsed = ref.offset + ref.size;
    mLive += added;
    if (mGarbage > kBlockChars && mGarbage > mLive)
        compact();
}

void RowTexts::resize(size_t rows) {
    if (rows == 0) {
        *this = RowTexts();
        return;
    }
    for (size_t r = rows; r < mRows.size(); ++r) {
        const Ref& ref = mRows[r];
        mLive -= ref.size;
        if (r == mOpen) {
            mUsed = ref.offset;
            mOpen = kNone;
        } else {
            mGarbage += ref.size;
        }
    }
    mRows.resize(rows);
    if (mRows.capacity() > 2 * rows + 64)
        mRows.shrink_to_fit();
    if (mGarbage > kBlockChars && mGarbage > mLive)
        compact();
}

void RowTexts::reorder(const std::vector<size_t>& order) {
    std::vector<Ref> rows;
    rows.reserve(mRows.size());
    size_t open = kNone;
    for (size_t i = 0; i < order.size(); ++i) {
        rows.push_back(mRows[order[i]]);
        if (order[i] == mOpen)
            open = i;
    }
    mRows = std::move(rows);
    mOpen = open;
}

void RowTexts::compact() {
    RowTexts packed;
    packed.mRows.resize(mRows.size());
    for (size_t r = 0; r < mRows.size(); ++r) {
        const size_t size = mRows[r].size;
        if (size == 0)
            continue;
        if (packed.mBlocks.empty() || packed.mBlocks.back().capacity - packed.mUsed < size)
            packed.newBlock(size);
        std::memcpy(packed.mBlocks.back().text.get() + packed.mUsed, at(mRows[r]),
                    size * sizeof(char16_t));
        packed.mRows[r] = {static_cast<quint32>(packed.mBlocks.size() - 1),
                           static_cast<quint32>(packed.mUsed), static_cast<quint32>(size)};
        packed.mUsed += size;
    }
    packed.mLive = mLive;
    *this = std::move(packed);
}
