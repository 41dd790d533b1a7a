#include "sessiongridmodel.h"

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

QString SessionGridModel::cellOf(const QByteArray& row, int col) {
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        start = row.indexOf('\0', start);
        if (start < 0)
            return QString();
        ++start;
    }
    const qsizetype end = row.indexOf('\0', start);
    return QString::fromUtf8(row.constData() + start, (end < 0 ? row.size() : end) - start);
}

namespace {
// Writes text as UTF-8 at out, which has room for 3 bytes per UTF-16 unit; NUL, the cell
// separator, becomes a blank. Returns the end of what was written.
char* writeUtf8(char* out, QStringView text) {
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p != end) {
        char32_t u = *p++;
        if (u < 0x80) {
            *out++ = u == 0 ? ' ' : static_cast<char>(u);
            continue;
        }
        if (u >= 0xD800 && u < 0xDC00 && p != end && *p >= 0xDC00 && *p < 0xE000)
            u = 0x10000 + ((u - 0xD800) << 10) + (*p++ - 0xDC00);
        else if (u >= 0xD800 && u < 0xE000)
            u = 0xFFFD; // a lone surrogate
        if (u < 0x800) {
            *out++ = static_cast<char>(0xC0 | (u >> 6));
        } else if (u < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (u >> 12));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (u >> 18));
            *out++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (u & 0x3F));
    }
    return out;
}
} // namespace

void SessionGridModel::appendCell(QByteArray& row, int separators, const QString& text) {
    const qsizetype oldSize = row.size();
    const qsizetype room = separators + 3 * text.size();
    if (row.capacity() < oldSize + room)
        row.reserve(std::max<qsizetype>(128, 2 * (oldSize + room)));
    row.resize(oldSize + room);
    char* out = row.data() + oldSize;
    for (int i = 0; i < separators; ++i)
        *out++ = '\0';
    out = writeUtf8(out, text);
    row.truncate(out - row.constData());
}

int SessionGridModel::setCellOf(QByteArray& row, int col, const QString& text) {
    qsizetype start = 0;
    int c = 0;
    for (; c < col; ++c) {
        const qsizetype next = row.indexOf('\0', start);
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
    qsizetype end = row.indexOf('\0', start);
    if (end < 0)
        end = row.size();
    QByteArray utf8(3 * text.size(), Qt::Uninitialized);
    utf8.truncate(writeUtf8(utf8.data(), text) - utf8.constData());
    row.replace(start, end - start, utf8);
    return -1;
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
    QByteArray& data = mRows[static_cast<size_t>(row - 1)];
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
