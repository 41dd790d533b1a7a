#pragma once

#include "oracle/database.h"
#include "oracle/oci/oci_rowstore.h"

#include <vector>

namespace ora::binding {

class OciDynaset;

// A column of a dynaset; reads the dynaset's current row.
class OciField : public OraField {
public:
    OciField(const OciDynaset& dynaset, int column) : mDynaset(dynaset), mColumn(column) {}
    QVariant value() const override;

private:
    const OciDynaset& mDynaset;
    int mColumn;
};

// A fully fetched result, walked forward one row at a time.
class OciDynaset : public OraDynaset {
public:
    explicit OciDynaset(RowStore rows);
    OciDynaset(const OciDynaset&) = delete;
    OciDynaset& operator=(const OciDynaset&) = delete;

    int fieldsCount() const override { return mRows.columnCount(); }
    OraField& Fields(int index) override;
    qint64 RecordCount() const override { return mRows.rowCount(); }
    bool isEOF() const override { return mPosition >= mRows.rowCount(); }
    void DbMoveNext() override;

    // The value of a column in the current row.
    QVariant currentValue(int column) const;
    const RowStore& rows() const { return mRows; }

private:
    RowStore mRows;
    qint64 mPosition = 0;
    std::vector<OciField> mFields;
};

} // namespace ora::binding
