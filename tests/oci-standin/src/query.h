#pragma once

#include <optional>
#include <vector>

#include "src/instance.h"
#include "src/sql.h"

// Runs a SELECT on the instance: the rows it returns, in order, and for each of them the
// values of the subqueries in the select list (row after row in `computed`). Returns the
// error the execute fails with instead.
std::optional<OraError> runSessionQuery(const SessionQuery& query, const Instance& instance,
                                        std::vector<RowPtr>& rows, std::vector<Cell>& computed);
