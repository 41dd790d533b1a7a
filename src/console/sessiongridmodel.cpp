#include "console/sessiongridmodel.h"

#include <QMetaObject>
#include <algorithm>

SessionGridModel::SessionGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void SessionGridModel::setRows(int rows) {
    const size_t data = static_cast<size_t>(std::max(rows, 1) - 1);
    if (data == mRows.size())
        return;
    beginResetModel();
    mLastWritten = -1;
    mRows.resize(data);
    if (mRows.capacity() > 2 * data + 64)
        mRows.shrink_to_fit();
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

QString SessionGridModel::cellOf(const QString& row, int col) {
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        start = row.indexOf(kSeparator, start);
        if (start < 0)
            return QString();
        ++start;
    }
    const qsizetype end = row.indexOf(kSeparator, start);
    return row.sliced(start, (end < 0 ? row.size() : end) - start);
}

void SessionGridModel::appendCell(QString& row, int separators, const QString& text) {
    const qsizetype at = row.size();
    const qsizetype size = at + separators + text.size();
    if (row.capacity() < size)
        row.reserve(std::max<qsizetype>(128, 2 * size));
    row.resize(size);
    char16_t* out = reinterpret_cast<char16_t*>(row.data()) + at;
    out = std::fill_n(out, separators, kSeparator.unicode());
    // NUL separates the cells, so a NUL of the text itself becomes a blank.
    std::replace_copy(text.utf16(), text.utf16() + text.size(), out, kSeparator.unicode(), u' ');
}

int SessionGridModel::setCellOf(QString& row, int col, const QString& text) {
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
        appendCell(row, row.isEmpty() ? col : col - c, text);
        return col + 1;
    }
    qsizetype end = row.indexOf(kSeparator, start);
    if (end < 0)
        end = row.size();
    QString cell;
    appendCell(cell, 0, text);
    row.replace(start, end - start, cell);
    return -1;
}

namespace {
// What a cell sorts by: a number, or text in which a logon time's hour has two digits so that
// times compare as they read.
struct SortKey {
    bool number = false;
    qint64 value = 0;
    QString text;
};

SortKey KeyOf(const QString& cell) {
    bool ok = false;
    const qint64 value = cell.toLongLong(&ok);
    if (ok)
        return {true, value, QString()};
    // "yyyy/mm/dd h:mm:ss" with a one-digit hour.
    if (cell.size() == 18 && cell[10] == u' ' && cell[12] == u':')
        return {false, 0, cell.left(11) + QChar(u'0') + cell.mid(11)};
    return {false, 0, cell};
}

bool Less(const SortKey& a, const SortKey& b) {
    if (a.number != b.number)
        return a.number; // numbers before text
    return a.number ? a.value < b.value : a.text < b.text;
}
} // namespace

int SessionGridModel::sortRows(int col, Qt::SortOrder order, int follow) {
    if (col < 0 || col >= mCols || mRows.size() < 2)
        return follow;
    settle(mLastWritten);
    mLastWritten = -1;
    std::vector<SortKey> keys;
    keys.reserve(mRows.size());
    for (const QString& row : mRows)
        keys.push_back(KeyOf(cellOf(row, col)));
    std::vector<size_t> positions(mRows.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    std::stable_sort(positions.begin(), positions.end(), [&](size_t a, size_t b) {
        return order == Qt::AscendingOrder ? Less(keys[a], keys[b]) : Less(keys[b], keys[a]);
    });
    Q_EMIT layoutAboutToBeChanged();
    std::vector<QString> sorted;
    sorted.reserve(mRows.size());
    int followed = follow;
    for (size_t i = 0; i < positions.size(); ++i) {
        sorted.push_back(std::move(mRows[positions[i]]));
        if (static_cast<int>(positions[i]) == follow - 1)
            followed = static_cast<int>(i) + 1;
    }
    mRows = std::move(sorted);
    Q_EMIT layoutChanged();
    return followed;
}

void SessionGridModel::settle(int row) {
    if (row >= 0 && static_cast<size_t>(row) < mRows.size())
        mRows[static_cast<size_t>(row)].squeeze();
}

QString SessionGridModel::text(int row, int col) const {
    if (col < 0 || col >= mCols || row < 0 || row >= rows())
        return QString();
    return cellOf(row == 0 ? mHeader : mRows[static_cast<size_t>(row - 1)], col);
}

void SessionGridModel::setText(int row, int col, const QString& text) {
    if (col < 0 || col >= mCols || row < 0 || row >= rows())
        return;
    if (row == 0) {
        setCellOf(mHeader, col, text);
        if (col == 0)
            return;
        Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    QString& data = mRows[static_cast<size_t>(row - 1)];
    if (mLastWritten != row - 1) {
        settle(mLastWritten);
        mLastWritten = row - 1;
        mLastCells = -1;
    }
    // A search writes a row's cells in order: append without looking for the cell.
    if (mLastCells > 0 && col >= mLastCells) {
        if (!text.isEmpty()) {
            appendCell(data, col - mLastCells + 1, text);
            mLastCells = col + 1;
        }
    } else {
        mLastCells = setCellOf(data, col, text);
    }
    noteChanged(row - 1, col);
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
    settle(mLastWritten);
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
