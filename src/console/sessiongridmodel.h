#pragma once

#include "console/rowtexts.h"

#include <QAbstractTableModel>
#include <QString>
#include <span>
#include <vector>

// The cells of the session grid. Row 0 is the header row and column 0 the header column;
// the view shows them as its headers. A row is one string holding its cells separated by NUL
// (trailing empty cells left out), kept in RowTexts, so that a hundred thousand sessions take
// little memory and are written quickly: no object per cell or row, no conversion.
class SessionGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SessionGridModel(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(SessionGridModel)

    // Grid-wide counts, header row and column included.
    int rows() const { return static_cast<int>(mRows.size()) + 1; }
    void setRows(int rows);
    int cols() const { return mCols; }
    void setCols(int cols);

    QString text(int row, int col) const;
    // The same without a copy; valid until the next change of the cells.
    QStringView cell(int row, int col) const;
    // Calls f(col, cell) for every column of a row, left to right, with the cell's text as
    // cell() gives it.
    template <typename F> void forEachCell(int row, F f) const;
    void setText(int row, int col, const QString& text) {
        // A search writes a row's cells in order, a hundred thousand rows at a time: the next
        // cell of the row written last is appended, and the row is already noted as changed.
        if (row > 0 && row - 1 == mLastWritten && mLastCells > 0 && col >= mLastCells &&
            col < mCols && row < rows()) {
            if (!text.isEmpty()) {
                mRows.append(static_cast<size_t>(row - 1), col - mLastCells + 1, text);
                mLastCells = col + 1;
            }
            return;
        }
        setCellText(row, col, text);
    }

    // Writes every cell of a data row at once, as setText would one after the other: what a
    // search does, a hundred thousand rows at a time.
    void setRowCells(int row, std::span<const RowTexts::Cell> cells);

    // Reorders the data rows by one column's cells: numbers as numbers, logon times as times,
    // anything else as text; rows that compare equal keep their order. Returns the new
    // position (1-based) of what was data row `follow`.
    int sortRows(int col, Qt::SortOrder order, int follow);

    // Alignment of a header-row cell (the only cells whose alignment the program sets).
    void setHeaderAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment headerAlignment(int col) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void setCellText(int row, int col, const QString& text);
    QStringView rowText(int row) const;
    static QStringView cellOf(QStringView row, int col);
    // Writes one cell of a row of `texts`; returns the number of cells the row holds
    // afterwards when that is known cheaply (the cell was appended), -1 otherwise.
    static int setCellOf(RowTexts& texts, size_t row, int col, const QString& text);
    // Cell writes come by the hundred thousand during a search; tell the view once.
    void noteChanged(int row, int col);
    void flushChanges();

    int mCols = 0;
    RowTexts mHeader;                  // row 0, kept as a data row is
    RowTexts mRows;                    // rows 1..n
    int mLastWritten = -1;             // the data row written last
    int mLastCells = -1;               // cells that row holds, when known
    std::vector<Qt::Alignment> mAlign; // per column, header row only
    int mDirtyTop = -1, mDirtyBottom = -1;
    bool mFlushQueued = false;
};

template <typename F> void SessionGridModel::forEachCell(int row, F f) const {
    const QStringView text = rowText(row);
    qsizetype start = 0;
    for (int col = 0; col < mCols; ++col) {
        if (start > text.size()) {
            f(col, QStringView());
            continue;
        }
        qsizetype end = text.indexOf(QChar(u'\0'), start);
        if (end < 0)
            end = text.size();
        f(col, text.sliced(start, end - start));
        start = end + 1;
    }
}
