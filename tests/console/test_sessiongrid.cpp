#include "console/rowheader.h"
#include "console/sessiongrid.h"
#include "console/sessiongridmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyleOptionHeader>
#include <QTest>
#include <array>

class TestSessionGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cellsAreAddressedThroughTheCurrentCell() {
        SessionGrid grid;
        grid.setCols(9);
        grid.setRows(3);
        grid.setRow(2);
        grid.setCol(4);
        grid.setText(QStringLiteral("端末"));
        QCOMPARE(grid.Text(), QStringLiteral("端末"));
        QCOMPARE(grid.TextMatrix(2, 4), QStringLiteral("端末"));
        QCOMPARE(grid.TextMatrix(2, 3), QString());
        QCOMPARE(grid.TextMatrix(1, 4), QString());
        // Column 0 of a data row is its header label in the view.
        grid.setCol(0);
        grid.setText(QStringLiteral("2"));
        QCOMPARE(grid.model()->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("2"));
        // Row 0 is the horizontal header.
        grid.setRow(0);
        grid.setCol(3);
        grid.setText(QStringLiteral("状態"));
        QCOMPARE(grid.model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("状態"));
    }

    void rewritingOneCellKeepsItsNeighbours() {
        SessionGridModel model;
        model.setCols(9);
        model.setRows(2);
        for (int c = 0; c < 9; ++c)
            model.setText(1, c, QString::number(c * 11));
        model.setText(1, 4, QStringLiteral("a much longer text than before"));
        model.setText(1, 8, QString());
        for (int c = 0; c < 9; ++c) {
            const QString expected = c == 4   ? QStringLiteral("a much longer text than before")
                                     : c == 8 ? QString()
                                              : QString::number(c * 11);
            QCOMPARE(model.text(1, c), expected);
        }
    }

    void cellsKeepAnyTextAndGaps() {
        SessionGridModel model;
        model.setCols(9);
        model.setRows(2);
        const QString wide = QStringLiteral("会計システム.exe");
        const QString astral = QString::fromUtf8("\xF0\x9F\x98\x80 ok"); // outside the BMP
        model.setText(1, 7, wide); // written before the cells in front of it
        model.setText(1, 2, astral);
        model.setText(1, 8, QStringLiteral("a\0b"));
        QCOMPARE(model.text(1, 7), wide);
        QCOMPARE(model.text(1, 2), astral);
        QCOMPARE(model.text(1, 0), QString());
        QCOMPARE(model.text(1, 5), QString());
        // NUL separates cells inside a row, so it cannot be kept in a cell.
        QCOMPARE(model.text(1, 8), QStringLiteral("a b"));
        model.setText(1, 7, QString());
        QCOMPARE(model.text(1, 7), QString());
        QCOMPARE(model.text(1, 8), QStringLiteral("a b"));
    }

    // A refresh of a long list writes every row again over the old one, cell by cell or, as a
    // search does, a row at a time from UTF-8 and text; the texts then move within the grid's
    // storage, which must keep every cell of every row.
    void rewritingALongListKeepsEveryCell() {
        SessionGridModel model;
        model.setCols(9);
        const int rows = 20000;
        model.setRows(rows + 1);
        auto cellText = [](int pass, int r, int c) {
            if (pass == 2 && c == 8)
                return QString(); // a trailing empty cell
            if (pass == 2 && c == 4)
                return QStringLiteral("machine1\0a\0b"); // NUL cannot be kept: a blank
            return QStringLiteral("%1-%2-%3")
                .arg(pass)
                .arg(r)
                .arg(QString(c * pass, pass == 2 && c % 3 == 0 ? u'会' : u'x'));
        };
        for (int pass = 1; pass <= 3; ++pass) {
            for (int r = 1; r <= rows; ++r) {
                if (pass == 2) {
                    std::array<QString, 9> texts;
                    std::array<QByteArray, 9> utf8;
                    std::array<RowTexts::Cell, 9> cells;
                    for (size_t c = 0; c < 9; ++c) {
                        texts[c] = cellText(pass, r, static_cast<int>(c));
                        utf8[c] = texts[c].toUtf8();
                        cells[c] = c % 2 == 0 ? RowTexts::Cell{{}, utf8[c], true}
                                              : RowTexts::Cell{texts[c], {}, false};
                    }
                    model.setRowCells(r, cells);
                    continue;
                }
                for (int c = 0; c < 9; ++c)
                    model.setText(r, c, cellText(pass, r, c));
            }
            for (int r = 1; r <= rows; r += 997) {
                for (int c = 0; c < 9; ++c)
                    QCOMPARE(model.text(r, c),
                             cellText(pass, r, c).replace(QChar(u'\0'), QChar(u' ')));
            }
        }
        // Fewer rows, then as many again: the rows dropped come back empty.
        model.setRows(3);
        model.setRows(rows + 1);
        QCOMPARE(model.text(2, 8), cellText(3, 2, 8));
        QCOMPARE(model.text(3, 0), QString());
        QCOMPARE(model.text(rows, 8), QString());
    }

    void rowCountKeepsOrDropsRows() {
        SessionGrid grid;
        grid.setCols(9);
        grid.setRows(4);
        grid.setRow(3);
        grid.setCol(1);
        grid.setText(QStringLiteral("x"));
        QCOMPARE(grid.Rows(), 4);
        QCOMPARE(grid.model()->rowCount(), 3);
        grid.setRows(1);
        QCOMPARE(grid.Rows(), 1);
        QCOMPARE(grid.model()->rowCount(), 0);
        // The current row cannot point past the rows that are left.
        QCOMPARE(grid.Row(), 0);
        grid.setRows(4);
        QCOMPARE(grid.TextMatrix(3, 1), QString());
    }

    void programPositionSurvivesFocusAndUserMovesWin() {
        QWidget window;
        auto* grid = new SessionGrid(&window);
        grid->setCols(9);
        grid->setRows(6);
        for (int r = 1; r < 6; ++r) {
            grid->setRow(r);
            grid->setCol(1);
            grid->setText(QString::number(r));
        }
        grid->setCol(0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        grid->setFocus();
        QApplication::processEvents();
        // Getting the focus must not move the current row off the last row written.
        QCOMPARE(grid->Row(), 5);
        QCOMPARE(grid->currentIndex().row(), 4);

        QTest::keyClick(grid, Qt::Key_Up);
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(grid->Row(), 3);
        const QRect cell = grid->visualRect(grid->model()->index(0, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(grid->Col(), 3);
    }

    void currentRowStaysInViewAndLongRowNumbersAreMarked() {
        struct ShownRowNumber : RowHeader {
            using RowHeader::RowHeader;
            QString text(int section) const {
                QStyleOptionHeader option;
                initStyleOptionForIndex(&option, section);
                return option.text;
            }
        };
        QWidget window;
        auto* grid = new SessionGrid(&window);
        auto* numbers = new ShownRowNumber(grid);
        grid->setVerticalHeader(numbers);
        grid->setGeometry(0, 0, 577, 239);
        grid->setCols(9);
        grid->setColWidth(0, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A search into the shown grid: the row count first, then row after row.
        grid->setRows(1201);
        for (int r = 1; r <= 1200; ++r) {
            grid->setRow(r);
            grid->setCol(0);
            grid->setText(QString::number(r));
        }
        QApplication::processEvents();
        // After a long listing the last row, the one Delete acts on, is on screen.
        const QRect current = grid->visualRect(grid->currentIndex());
        QCOMPARE(grid->currentIndex().row(), 1199);
        QVERIFY(grid->viewport()->rect().contains(current));
        // Numbers that fit are shown whole; "1200" does not fit 400 twips and is marked.
        QCOMPARE(numbers->text(998), QStringLiteral("999"));
        const QString shown = numbers->text(1199);
        QVERIFY2(shown.startsWith(QChar(0x2026)) && QStringLiteral("1200").endsWith(shown.mid(1)),
                 qPrintable(shown));
    }

    void keysReachTheWindowAsClassicCodes() {
        SessionGrid grid;
        grid.setCols(9);
        grid.setRows(2);
        qint16 seenCode = -1, seenShift = -1;
        connect(&grid, &SessionGrid::KeyDown, this, [&](qint16& code, qint16& shift) {
            seenCode = code;
            seenShift = shift;
        });
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(seenCode, qint16(46));
        QCOMPARE(seenShift, qint16(1));
        QTest::keyClick(&grid, Qt::Key_Enter);
        QCOMPARE(seenCode, qint16(13));
        QTest::keyClick(&grid, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(seenCode, qint16(13));
        QCOMPARE(seenShift, qint16(2));
    }
};

QTEST_MAIN(TestSessionGrid)
#include "test_sessiongrid.moc"
