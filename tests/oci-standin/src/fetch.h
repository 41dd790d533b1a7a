#pragma once

#include "src/handles.h"

// Copies up to `rows` rows from the open cursor into the defined arrays. Shared by
// OCIStmtFetch2 and an OCIStmtExecute of a SELECT with iters > 0.
sword fetchRows(Statement& statement, ErrorHandle* errors, ub4 rows);
