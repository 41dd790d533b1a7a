#pragma once

#include "console/sessiongridmodel.h"

#include <QTableView>

// The session grid: a table view over SessionGridModel that offers the operations of the
// classic flex grid the main window is written against. Row 0 and column 0 are the fixed
// header row and column; the program addresses cells by making a row and a column current
// and then reading or writing the current cell's text. The current row is also the user's
// selection, moved with the mouse and the arrow keys.
class SessionGrid final : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SessionGrid)
public:
    static constexpr int flexAlignCenterCenter = 4;

    explicit SessionGrid(QWidget* parent = nullptr);

    int Rows() const { return mModel->rows(); }
    void setRows(int rows);
    int Cols() const { return mModel->cols(); }
    void setCols(int cols);
    // The grid always shows one fixed row and one fixed column; other counts are ignored.
    void setFixedRows(int) {}
    void setFixedCols(int) {}

    int Row() const { return mRow; }
    void setRow(int row);
    int Col() const { return mCol; }
    // Inline, as setText: a search moves and writes once per cell of a hundred thousand rows.
    void setCol(int col) {
        if (col < 0 || col >= Cols())
            return;
        mCol = col;
        queueViewSync();
    }

    QString Text() const;
    void setText(const QString& text) { mModel->setText(mRow, mCol, text); }
    // Writes the current row's cells from column 0, as setText would column after column.
    void setRowCells(std::span<const RowTexts::Cell> cells) { mModel->setRowCells(mRow, cells); }
    QString TextMatrix(int row, int col) const;

    // Widths and heights in twips.
    void setColWidth(int col, float twips);
    void setRowHeight(int row, float twips);

    // The current data row, or every data row in the order shown, as tab-separated lines under
    // the header line, quoted for spreadsheets; empty when there is no such row.
    QString CopyText() const;
    QString CopyAllText() const;

    // Alignment of the current cell; only the header row's cells are aligned.
    void setCellAlignment(int alignment);

    // Typed characters do nothing: the view's search by typing would move the current row,
    // which is the row a kill acts on, without the user choosing it.
    void keyboardSearch(const QString&) override {}

Q_SIGNALS:
    // Every key pressed in the grid, as a classic key code and shift state; a handler may set
    // KeyCode to 0 to swallow the key.
    void KeyDown(qint16& KeyCode, qint16& Shift);
    // A context menu was asked for over a grid row (0: the header row), at a screen position.
    void ContextMenu(int row, const QPoint& globalPos);
    // A data row was double-clicked.
    void RowDoubleClicked(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // A cell too narrow for its text shows it cut; resting the mouse on it shows the whole text.
    bool viewportEvent(QEvent* event) override;

private:
    // Moving the view's current index scrolls and repaints; during a search the program moves
    // the current cell once per cell, so the view follows once, when events next run.
    void queueViewSync() {
        if (!mSyncQueued)
            queueViewSyncNow();
    }
    void queueViewSyncNow();
    void syncView();
    // A click on a column header sorts by it, again to reverse; the current row stays on the
    // same session.
    void sortByHeader(int section);
    QString copyRows(const QList<int>& rows) const;
    bool textIsCut(const QModelIndex& index) const;

    SessionGridModel* mModel;
    int mRow = 0;
    int mCol = 0;
    bool mSyncQueued = false;
    bool mSyncing = false;
};
