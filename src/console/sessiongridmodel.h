#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// The cells of the session grid. Row 0 is the header row and column 0 the header column;
// the view shows them as its headers. A data row is one string holding its cells separated by
// NUL (trailing empty cells left out), so that a hundred thousand sessions take little memory
// and are written quickly: no object per cell, no conversion.
class SessionGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SessionGridModel(QObject* parent = nullptr);

    // Grid-wide counts, header row and column included.
    int rows() const { return static_cast<int>(mRows.size()) + 1; }
    void setRows(int rows);
    int cols() const { return mCols; }
    void setCols(int cols);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);

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
    static QString cellOf(const QString& row, int col);
    // Writes one cell; returns the number of cells the row holds afterwards when that is
    // known cheaply (the cell was appended), -1 otherwise.
    static int setCellOf(QString& row, int col, const QString& text);
    static void appendCell(QString& row, int separators, const QString& text);
    // Gives a finished row back its spare capacity once the writes have moved on.
    void settle(int row);
    // Cell writes come by the hundred thousand during a search; tell the view once.
    void noteChanged(int row, int col);
    void flushChanges();

    int mCols = 0;
    QString mHeader;                   // row 0, kept as a data row is
    std::vector<QString> mRows;        // rows 1..n
    int mLastWritten = -1;             // the data row written last, not yet settled
    int mLastCells = -1;               // cells that row holds, when known
    std::vector<Qt::Alignment> mAlign; // per column, header row only
    int mDirtyTop = -1, mDirtyBottom = -1;
    bool mFlushQueued = false;
};
