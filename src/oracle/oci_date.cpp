#include "oci_date.h"

namespace ora::binding {

QDateTime DateTimeFromOci(const OCIDateValue& value) {
    return QDateTime(QDate(value.year, value.month, value.day),
                     QTime(value.hour, value.minute, value.second));
}

} // namespace ora::binding
