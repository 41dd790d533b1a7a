#pragma once

#include "oracle/database.h"
#include "oracle/oci/oci_rowstore.h"

#include <vector>

namespace ora::binding {

class OciDynaset;

// A column of a dynaset; reads the dynaset's current row.
class OciField final : public OraField {
public:
    OciField(const OciDynaset& dynaset, int column) : mDynaset(dynaset), mColumn(column) {}
    QVariant value() const override;
    RawValue raw() const override;

private:
    const OciDynaset& mDynaset;
    int mColumn;
};

// A fully fetched result, walked forward one row at a time.
class OciDynaset final : public OraDynaset {
public:
    explicit OciDynaset(RowStore rows);
    Q_DISABLE_COPY_MOVE(OciDynaset)

    int fieldsCount() const override { return mRows.columnCount(); }
    OraField& Fields(int index) override;
    qint64 RecordCount() const override { return mRows.rowCount(); }
    bool isEOF() const override { return mPosition >= mRowCount; }
    void DbMoveNext() override;

    // The value of a column in the current row.
    QVariant currentValue(int column) const { return mRows.value(current(), column); }
    RawValue currentRaw(int column) const { return mRows.raw(current(), column); }
    const RowStore& rows() const { return mRows; }

private:
    RowStore::RowRef current() const {
        if (isEOF())
            ThrowPastEnd();
        return mCurrent;
    }
    [[noreturn]] static void ThrowPastEnd();

    RowStore mRows;
    qint64 mRowCount;
    qint64 mPosition = 0;
    RowStore::RowRef mCurrent; // where mPosition lies, while it is a row
    std::vector<OciField> mFields;
};

} // namespace ora::binding
