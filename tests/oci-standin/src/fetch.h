#pragma once

#include "src/handles.h"

// What one round trip brings of a query's rows, as a client library does it: what the call
// asks for, and at least the prefetch count. When the server has fewer rows than were asked
// for, the end of the cursor comes with them and later fetches need no round trip.
void transferRows(Statement& statement, std::size_t wanted);

// Copies up to `rows` rows that came over the network into the defined arrays. Shared by
// OCIStmtFetch2 and an OCIStmtExecute of a SELECT with iters > 0.
sword fetchRows(Statement& statement, ErrorHandle* errors, ub4 rows);
