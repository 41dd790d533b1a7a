#include "oracle/oci/oci_dynaset.h"

namespace ora::binding {

QVariant OciField::value() const {
    return mDynaset.currentValue(mColumn);
}

RawValue OciField::raw() const {
    return mDynaset.currentRaw(mColumn);
}

OciDynaset::OciDynaset(RowStore rows) : mRows(std::move(rows)), mRowCount(mRows.rowCount()) {
    mFields.reserve(static_cast<size_t>(mRows.columnCount()));
    for (int column = 0; column < mRows.columnCount(); ++column)
        mFields.emplace_back(*this, column);
    if (!isEOF())
        mCurrent = mRows.locate(mPosition);
}

OraField& OciDynaset::Fields(int index) {
    if (index < 0 || index >= fieldsCount()) {
        throw OraError(
            QStringLiteral("列番号 %1 は範囲外です (列数 %2)").arg(index).arg(fieldsCount()));
    }
    return mFields[static_cast<size_t>(index)];
}

void OciDynaset::DbMoveNext() {
    if (isEOF())
        return;
    ++mPosition;
    if (!isEOF())
        mCurrent = mRows.next(mCurrent, mPosition);
}

void OciDynaset::ThrowPastEnd() {
    throw OraError(QStringLiteral("現在の行がありません (最後の行を過ぎています)"));
}

} // namespace ora::binding
