#pragma once

#include "oracle/oci/api/oci_api.h"
#include "oracle/oci/oci_rowstore.h"

#include <cstddef>

namespace ora::binding {

// What the server says about a result column.
struct ColumnDescription {
    ub2 dataType = 0; // SQLT code
    ub2 dataSize = 0; // bytes on the server side
    ub2 charSize = 0; // characters, for character columns
};

// How a column is fetched: as an OCI date, or as UTF-8 text in elements of elementSize bytes.
struct ColumnPlan {
    ColumnKind kind = ColumnKind::Text;
    ub2 defineType = oci::SQLT_CHR;
    size_t elementSize = 1;
};

bool IsCharacterType(ub2 dataType);
ColumnPlan PlanColumn(const ColumnDescription& column);

// Rows per fetch call for rows of the given buffer size: as many as fit about 1 MB,
// never fewer than 500 (the round-trip count is what the user waits for), nor more than 2000.
ub4 FetchArrayRows(size_t bufferBytesPerRow);

} // namespace ora::binding
