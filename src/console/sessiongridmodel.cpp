#include "sessiongridmodel.h"

#include <QMetaObject>
#include <algorithm>

namespace {
constexpr QChar kSeparator = QChar(u'\0');
}

SessionGridModel::SessionGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void SessionGridModel::setRows(int rows) {
    const size_t data = static_cast<size_t>(std::max(rows, 1) - 1);
    if (data == mRows.size())
        return;
    beginResetModel();
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

QString SessionGridModel::cellOf(const QString& row, int col) {
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        start = row.indexOf(kSeparator, start);
        if (start < 0)
            return QString();
        ++start;
    }
    const qsizetype end = row.indexOf(kSeparator, start);
    return row.mid(start, end < 0 ? -1 : end - start);
}

void SessionGridModel::setCellOf(QString& row, int col, const QString& text, int cols) {
    // A fresh row has every separator already, so each cell has a place.
    if (row.isEmpty() && cols > 1)
        row = QString(cols - 1, kSeparator);
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        start = row.indexOf(kSeparator, start) + 1;
    }
    qsizetype end = row.indexOf(kSeparator, start);
    if (end < 0)
        end = row.size();
    QString clean = text;
    clean.replace(kSeparator, QChar(u' '));
    row.replace(start, end - start, clean);
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
        setCellOf(mHeader, col, text, mCols);
        if (col == 0)
            return;
        Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    setCellOf(mRows[static_cast<size_t>(row - 1)], col, text, mCols);
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
