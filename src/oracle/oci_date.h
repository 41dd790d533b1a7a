#pragma once

#include "oci_api.h"

#include <QDateTime>

namespace ora::binding {

// An Oracle DATE as the program shows it: the same wall-clock fields in local time, since a
// DATE carries no time zone.
QDateTime DateTimeFromOci(const OCIDateValue& value);

} // namespace ora::binding
