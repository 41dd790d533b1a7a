#include "console/rowheader.h"

#include <QStyleOptionHeader>

RowHeader::RowHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

void RowHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    QStyleOptionHeader label = *option;
    label.rect = QRect(0, 0, width(), sectionSize(logicalIndex));
    const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &label, this).width();
    option->text = fontMetrics().elidedText(option->text, Qt::ElideLeft, room);
}
