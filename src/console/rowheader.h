#pragma once

#include <QHeaderView>

// The session grid's fixed column of row numbers. Its width is fixed, so a number that does not
// fit (1000 and more in 400 twips) shows its last digits after an ellipsis instead of being
// cut without a mark.
class RowHeader : public QHeaderView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowHeader)
public:
    explicit RowHeader(QWidget* parent = nullptr);

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
