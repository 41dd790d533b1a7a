#pragma once

#include "oracle/oci/api/oci_api.h"

#include <QVariant>
#include <cstddef>
#include <vector>

namespace ora::binding {

enum class ColumnKind : unsigned char { Text, Date };

// The fetched rows of a query, kept compactly: every cell's bytes (UTF-8 text, or the 8-byte
// OCI date) follow one another in one arena, and each cell costs one 32-bit end offset whose
// top bit marks NULL. Values are only turned into QString / QDateTime when read.
class RowStore {
public:
    explicit RowStore(std::vector<ColumnKind> kinds);

    int columnCount() const { return static_cast<int>(mKinds.size()); }
    qint64 rowCount() const;

    // Cells are appended row by row, left to right.
    void appendText(const char* data, size_t length);
    void appendDate(const OCIDateValue& value);
    void appendNull();
    // Gives back the spare capacity left from growing, once all rows are in.
    void finish();

    // A null QVariant for NULL, a QString for text, a QDateTime for a date.
    QVariant value(qint64 row, int column) const;
    // Heap bytes held for the rows.
    size_t bytesHeld() const;

private:
    void appendCell(const void* data, size_t length, bool null);

    std::vector<ColumnKind> mKinds;
    std::vector<char> mArena;
    std::vector<quint32> mEnds;
};

} // namespace ora::binding
