#pragma once

#include "oracle/oci/api/oci_api.h"

#include <QDateTime>

namespace ora::binding {

// An Oracle DATE as the program shows it: the same wall-clock fields, never converted, since a
// DATE carries no time zone (held as a UTC QDateTime so that no zone rules apply).
QDateTime DateTimeFromOci(const OCIDateValue& value);

} // namespace ora::binding
