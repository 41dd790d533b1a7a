#pragma once

#include "oracle/oci/oci_library.h"
#include "oracle/oci/oci_rowstore.h"

#include <QByteArray>

namespace ora::binding {

// Runs a query and fetches all its rows in arrays, so the row count is known before the
// caller reads the first one. Throws OraError; the statement is released on every path.
RowStore FetchAll(const OciApi& api, OCISvcCtx* service, OCIError* error, const QByteArray& sql);

} // namespace ora::binding
