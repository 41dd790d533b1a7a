#include "console/sessiongridmodel.h"

#include <QMetaObject>
#include <algorithm>

SessionGridModel::SessionGridModel(QObject* parent) : QAbstractTableModel(parent) {
    mHeader.resize(1);
}

void SessionGridModel::setRows(int rows) {
    const size_t data = static_cast<size_t>(std::max(rows, 1) - 1);
    if (data == mRows.size())
        return;
    beginResetModel();
    mLastWritten = -1;
    mRows.resize(data);
    endResetModel();
}

void SessionGridModel::setCols(int cols) {
    cols = std::max(cols, 1);
    if (cols == mCols)
        return;
    beginResetModel();
    mCols = cols;
    mAlign.resize(static_cast<size_t>(cols));
    endResetModel();
}

namespace {
constexpr QChar kSeparator = QChar(u'\0');
} // namespace

QStringView SessionGridModel::cellOf(QStringView row, int col) {
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        start = row.indexOf(kSeparator, start);
        if (start < 0)
            return {};
        ++start;
    }
    const qsizetype end = row.indexOf(kSeparator, start);
    return row.sliced(start, (end < 0 ? row.size() : end) - start);
}

int SessionGridModel::setCellOf(RowTexts& texts, size_t r, int col, const QString& text) {
    const QStringView row = texts.row(r);
    qsizetype start = 0;
    int c = 0;
    for (; c < col; ++c) {
        const qsizetype next = row.indexOf(kSeparator, start);
        if (next < 0)
            break;
        start = next + 1;
    }
    if (c < col || row.isEmpty()) {
        // Past the last cell present: append. Trailing empty cells are left out.
        const int present = row.isEmpty() ? 0 : c + 1;
        if (text.isEmpty())
            return present;
        texts.append(r, row.isEmpty() ? col : col - c, text);
        return col + 1;
    }
    qsizetype end = row.indexOf(kSeparator, start);
    if (end < 0)
        end = row.size();
    texts.replace(r, start, end - start, 0, text);
    return -1;
}

namespace {
// What a cell sorts by: a number, or text in which a logon time's hour has two digits so that
// times compare as they read.
struct SortKey {
    bool number = false;
    bool padHour = false; // the text reads with a 0 before its character kHourAt
    bool stamp = false;   // a logon time: `value` holds its digits, which order it as its text
    qint64 value = 0;
    QStringView text;
};

constexpr qsizetype kHourAt = 11;

// The digits of "yyyy/mm/dd hh:mm:ss" (the hour padded) as one number, if the text is one.
bool StampOf(QStringView text, bool padHour, qint64& stamp) {
    static constexpr char16_t kPattern[] = u"dddd/dd/dd dd:dd:dd";
    if (text.size() + (padHour ? 1 : 0) != 19)
        return false;
    stamp = 0;
    for (qsizetype i = 0, at = 0; i < 19; ++i) {
        const char16_t c = padHour && i == kHourAt ? u'0' : text[at++].unicode();
        if (kPattern[i] != u'd') {
            if (c != kPattern[i])
                return false;
        } else if (c >= u'0' && c <= u'9') {
            stamp = stamp * 10 + (c - u'0');
        } else {
            return false;
        }
    }
    return true;
}

SortKey KeyOf(QStringView cell) {
    bool ok = false;
    const qint64 value = cell.toLongLong(&ok);
    if (ok)
        return {true, false, false, value, {}};
    // "yyyy/mm/dd h:mm:ss" with a one-digit hour.
    const bool oneDigitHour = cell.size() == 18 && cell[10] == u' ' && cell[12] == u':';
    SortKey key{false, oneDigitHour, false, 0, cell};
    key.stamp = StampOf(cell, oneDigitHour, key.value);
    return key;
}

// The character at `i` of the text a key sorts by.
char16_t CharOf(const SortKey& key, qsizetype i) {
    if (!key.padHour || i < kHourAt)
        return key.text[i].unicode();
    return i == kHourAt ? u'0' : key.text[i - 1].unicode();
}

bool TextLess(const SortKey& a, const SortKey& b) {
    if (a.stamp && b.stamp)
        return a.value < b.value;
    if (!a.padHour && !b.padHour)
        return a.text < b.text;
    const qsizetype sizeA = a.text.size() + (a.padHour ? 1 : 0);
    const qsizetype sizeB = b.text.size() + (b.padHour ? 1 : 0);
    for (qsizetype i = 0; i < std::min(sizeA, sizeB); ++i) {
        const char16_t ca = CharOf(a, i);
        const char16_t cb = CharOf(b, i);
        if (ca != cb)
            return ca < cb;
    }
    return sizeA < sizeB;
}

bool Less(const SortKey& a, const SortKey& b) {
    if (a.number != b.number)
        return a.number; // numbers before text
    return a.number ? a.value < b.value : TextLess(a, b);
}
} // namespace

int SessionGridModel::sortRows(int col, Qt::SortOrder order, int follow) {
    if (col < 0 || col >= mCols || mRows.size() < 2)
        return follow;
    mLastWritten = -1;
    std::vector<SortKey> keys;
    keys.reserve(mRows.size());
    for (size_t r = 0; r < mRows.size(); ++r)
        keys.push_back(KeyOf(cellOf(mRows.row(r), col)));
    std::vector<size_t> positions(mRows.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    std::stable_sort(positions.begin(), positions.end(), [&](size_t a, size_t b) {
        return order == Qt::AscendingOrder ? Less(keys[a], keys[b]) : Less(keys[b], keys[a]);
    });
    Q_EMIT layoutAboutToBeChanged();
    int followed = follow;
    for (size_t i = 0; i < positions.size(); ++i) {
        if (static_cast<int>(positions[i]) == follow - 1)
            followed = static_cast<int>(i) + 1;
    }
    mRows.reorder(positions);
    Q_EMIT layoutChanged();
    return followed;
}

QStringView SessionGridModel::rowText(int row) const {
    if (row < 0 || row >= rows())
        return {};
    return row == 0 ? mHeader.row(0) : mRows.row(static_cast<size_t>(row - 1));
}

QStringView SessionGridModel::cell(int row, int col) const {
    if (col < 0 || col >= mCols)
        return {};
    return cellOf(rowText(row), col);
}

QString SessionGridModel::text(int row, int col) const {
    return cell(row, col).toString();
}

void SessionGridModel::setCellText(int row, int col, const QString& text) {
    if (col < 0 || col >= mCols || row < 0 || row >= rows())
        return;
    if (row == 0) {
        setCellOf(mHeader, 0, col, text);
        if (col == 0)
            return;
        Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    const auto r = static_cast<size_t>(row - 1);
    if (mLastWritten != row - 1) {
        mLastWritten = row - 1;
        mLastCells = -1;
    }
    // Past the cells the row holds, append without looking for the cell.
    if (mLastCells > 0 && col >= mLastCells) {
        if (!text.isEmpty()) {
            mRows.append(r, col - mLastCells + 1, text);
            mLastCells = col + 1;
        }
    } else {
        mLastCells = setCellOf(mRows, r, col, text);
    }
    noteChanged(row - 1, col);
}

void SessionGridModel::setRowCells(int row, std::span<const RowTexts::Cell> cells) {
    if (row <= 0 || row >= rows() || cells.size() != static_cast<size_t>(mCols)) {
        for (size_t c = 0; c < cells.size(); ++c)
            setText(row, static_cast<int>(c),
                    cells[c].isUtf8 ? QString::fromUtf8(cells[c].utf8) : cells[c].text.toString());
        return;
    }
    const auto r = static_cast<size_t>(row - 1);
    // Every cell is written, so what the row held goes.
    const QStringView old = mRows.row(r);
    if (!old.isEmpty())
        mRows.replace(r, 0, old.size(), 0, {});
    mRows.appendCells(r, cells);
    mLastWritten = -1;
    noteChanged(row - 1, 0);
}

void SessionGridModel::noteChanged(int row, int) {
    mDirtyTop = mDirtyTop < 0 ? row : std::min(mDirtyTop, row);
    mDirtyBottom = std::max(mDirtyBottom, row);
    if (mFlushQueued)
        return;
    mFlushQueued = true;
    QMetaObject::invokeMethod(this, &SessionGridModel::flushChanges, Qt::QueuedConnection);
}

void SessionGridModel::flushChanges() {
    mFlushQueued = false;
    mLastWritten = -1;
    if (mDirtyTop < 0)
        return;
    const int top = std::min(mDirtyTop, rowCount() - 1);
    const int bottom = std::min(mDirtyBottom, rowCount() - 1);
    mDirtyTop = mDirtyBottom = -1;
    if (top < 0 || bottom < top)
        return;
    Q_EMIT dataChanged(index(top, 0), index(bottom, columnCount() - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, top, bottom);
}

void SessionGridModel::setHeaderAlignment(int col, Qt::Alignment alignment) {
    if (col < 0 || col >= mCols)
        return;
    mAlign[static_cast<size_t>(col)] = alignment;
    if (col > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
}

Qt::Alignment SessionGridModel::headerAlignment(int col) const {
    if (col < 0 || col >= mCols)
        return {};
    return mAlign[static_cast<size_t>(col)];
}

int SessionGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(mRows.size());
}

int SessionGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mCols - 1;
}

QVariant SessionGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return text(index.row() + 1, index.column() + 1);
}

QVariant SessionGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return text(0, section + 1);
        if (role == Qt::InitialSortOrderRole)
            return Qt::AscendingOrder;
        if (role == Qt::TextAlignmentRole) {
            const Qt::Alignment a = headerAlignment(section + 1);
            return a ? QVariant(static_cast<int>(a)) : QVariant();
        }
        return {};
    }
    if (role == Qt::DisplayRole)
        return text(section + 1, 0);
    return {};
}
