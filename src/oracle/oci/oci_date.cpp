#include "oracle/oci/oci_date.h"

namespace ora::binding {

QDateTime DateTimeFromOci(const OCIDateValue& value) {
    // A DATE has no time zone: it is kept as the wall-clock reading it is, never converted.
    // (A local-time QDateTime would also cost a time-zone look-up per row.)
    return QDateTime(QDate(value.year, value.month, value.day),
                     QTime(value.hour, value.minute, value.second), Qt::UTC);
}

} // namespace ora::binding
