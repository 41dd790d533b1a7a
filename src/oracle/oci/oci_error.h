#pragma once

#include "oracle/oci/oci_library.h"

#include "oracle/database.h"

#include <QString>
#include <optional>

namespace ora::binding {

// The error rc stands for, or nothing when it reports success (SUCCESS_WITH_INFO counts as
// success). The text and number come from the handle's first error record: an error handle, or
// the environment handle with handleType HTYPE_ENV when the environment itself failed.
std::optional<OraError> OciFailure(const OciApi& api, sword rc, void* handle,
                                   ub4 handleType = oci::HTYPE_ERROR);

// Throws OciFailure's error, if any.
void CheckOci(const OciApi& api, sword rc, void* handle, ub4 handleType = oci::HTYPE_ERROR);

// Oracle's message without the trailing line breaks and blanks it carries.
QString TrimmedOracleMessage(const OraText* text, size_t capacity);

} // namespace ora::binding
