#include "console/sessiongrid.h"

#include "classic/keys.h"
#include "classic/twips.h"
#include "console/rowheader.h"
#include "console/sessiongridmodel.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <algorithm>

SessionGrid::SessionGrid(QWidget* parent) : QTableView(parent), mModel(new SessionGridModel(this)) {
    setVerticalHeader(new RowHeader(this));
    setModel(mModel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // One highlighted row, the current one: the row Delete and セッション切断 act on.
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &SessionGrid::sortByHeader);
    // A grid wider than all its columns gives the spare width to the last one, the logon time.
    horizontalHeader()->setStretchLastSection(true);
    // The corner button shows the text of cell (0, 0), as the fixed corner cell does.
    if (auto* corner = findChild<QAbstractButton*>()) {
        corner->setEnabled(false);
        corner->installEventFilter(this);
    }
}

void SessionGrid::setRows(int rows) {
    // New contents come in their own order.
    horizontalHeader()->setSortIndicatorShown(false);
    mModel->setRows(rows);
    mRow = std::min(mRow, Rows() - 1);
    queueViewSync();
}

void SessionGrid::setCols(int cols) {
    mModel->setCols(cols);
    mCol = std::min(mCol, Cols() - 1);
}

void SessionGrid::setRow(int row) {
    if (row < 0 || row >= Rows())
        return;
    mRow = row;
    queueViewSync();
}

QString SessionGrid::Text() const {
    return mModel->text(mRow, mCol);
}
QString SessionGrid::TextMatrix(int row, int col) const {
    return mModel->text(row, col);
}

void SessionGrid::setColWidth(int col, float twips) {
    const int px = std::max(0, classic::TwipsToPixelsX(twips));
    if (col == 0)
        verticalHeader()->setFixedWidth(px);
    else
        horizontalHeader()->resizeSection(col - 1, px);
}

void SessionGrid::setRowHeight(int row, float twips) {
    const int px = std::max(0, classic::TwipsToPixelsY(twips));
    if (row == 0)
        horizontalHeader()->setFixedHeight(px);
    else
        verticalHeader()->setDefaultSectionSize(px);
}

void SessionGrid::setCellAlignment(int alignment) {
    if (mRow != 0)
        return;
    Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter;
    if (alignment == flexAlignCenterCenter)
        a = Qt::AlignCenter;
    mModel->setHeaderAlignment(mCol, a);
}

void SessionGrid::sortByHeader(int section) {
    // Once the indicator shows, the header itself turns it on each click (ascending first).
    QHeaderView* header = horizontalHeader();
    if (!header->isSortIndicatorShown()) {
        header->setSortIndicator(section, Qt::AscendingOrder);
        header->setSortIndicatorShown(true);
    }
    const int row = mModel->sortRows(section + 1, header->sortIndicatorOrder(), mRow);
    if (mRow >= 1) {
        mRow = row;
        queueViewSync();
    }
}

QString SessionGrid::CopyText() const {
    return mRow >= 1 ? copyRows({mRow}) : QString();
}

QString SessionGrid::CopyAllText() const {
    QList<int> rows;
    for (int row = 1; row < Rows(); ++row)
        rows << row;
    return copyRows(rows);
}

namespace {
// A field as spreadsheets read tab-separated text: one holding a TAB, CR, LF or quote is put
// in quotes, with its quotes doubled, so that it neither splits the row nor the line.
void AppendTsvField(QString& text, QStringView field) {
    const auto special = [](QChar c) {
        return c == u'\t' || c == u'\r' || c == u'\n' || c == u'"';
    };
    if (std::none_of(field.begin(), field.end(), special)) {
        text += field;
        return;
    }
    text += QChar(u'"');
    for (const QChar c : field) {
        if (c == u'"')
            text += QChar(u'"');
        text += c;
    }
    text += QChar(u'"');
}
} // namespace

QString SessionGrid::copyRows(const QList<int>& rows) const {
    if (rows.isEmpty())
        return QString();
    QString text;
    for (int row : QList<int>{0} + rows) {
        mModel->forEachCell(row, [&text](int col, QStringView cell) {
            if (col > 0)
                text += QChar(u'\t');
            AppendTsvField(text, cell);
        });
        text += QChar(u'\n');
    }
    return text;
}

void SessionGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect cell = visualRect(mModel->index(std::max(mRow, 1) - 1, 0));
        const QPoint at = cell.isValid() ? cell.center() : QPoint(0, 0);
        Q_EMIT ContextMenu(mRow, viewport()->mapToGlobal(at));
        return;
    }
    const int row = rowAt(viewport()->mapFromGlobal(event->globalPos()).y());
    Q_EMIT ContextMenu(row < 0 ? 0 : row + 1, event->globalPos());
}

void SessionGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    const int row = rowAt(event->position().toPoint().y());
    if (row >= 0)
        Q_EMIT RowDoubleClicked(row + 1);
}

void SessionGrid::keyPressEvent(QKeyEvent* event) {
    qint16 code = classic::KeyCodeOf(event);
    qint16 shift = classic::ShiftOf(event);
    Q_EMIT KeyDown(code, shift);
    if (code == 0 && classic::KeyCodeOf(event) != 0) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QItemSelectionModel::SelectionFlags SessionGrid::selectionCommand(const QModelIndex&,
                                                                  const QEvent*) const {
    // No key, click or drag highlights rows by itself: the highlight follows the current row
    // (see currentChanged), so that what is highlighted is what a kill acts on.
    return QItemSelectionModel::NoUpdate;
}

void SessionGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        selectionModel()->select(current,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // While the program's own position waits to be shown, the view's moves (such as the
    // first cell it picks on getting the focus) are not the user's.
    if (mSyncing || mSyncQueued || !current.isValid())
        return;
    // The user moved the current cell.
    mRow = current.row() + 1;
    mCol = current.column() + 1;
}

void SessionGrid::queueViewSyncNow() {
    mSyncQueued = true;
    QMetaObject::invokeMethod(this, &SessionGrid::syncView, Qt::QueuedConnection);
}

void SessionGrid::syncView() {
    mSyncQueued = false;
    mSyncing = true;
    if (mRow >= 1 && mRow < Rows()) {
        const QModelIndex index = mModel->index(mRow - 1, std::max(mCol - 1, 0));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        // The row Delete acts on is always in view, also right after a long listing, before
        // the view has laid out the new rows.
        executeDelayedItemsLayout();
        scrollTo(index);
    } else {
        // No current row at all, so that a click on any row, the one shown current before
        // included, makes it current.
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    }
    mSyncing = false;
}

bool SessionGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader() && event->type() == QEvent::ContextMenu) {
        Q_EMIT ContextMenu(0, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner && event->type() == QEvent::Paint) {
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        // The button is disabled so that it selects nothing; its text is drawn as a header's.
        option.palette = horizontalHeader()->palette();
        option.state = QStyle::State_Enabled | QStyle::State_Raised;
        option.rect = corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = TextMatrix(0, 0);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool SessionGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (index.isValid() && textIsCut(index))
        QToolTip::showText(help->globalPos(), index.data().toString(), viewport(),
                           visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

bool SessionGrid::textIsCut(const QModelIndex& index) const {
    // The delegate's own measure of the text, margins included, against the room the cell
    // has inside its grid line.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    const int room = option.rect.width() - (showGrid() ? 1 : 0);
    return itemDelegateForIndex(index)->sizeHint(option, index).width() > room;
}
