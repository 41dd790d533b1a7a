#pragma once

#include <QString>
#include <QVariant>

namespace ora {

// The text a grid cell shows for a field value. NULL cannot be shown as text: it raises an
// OraError, which ends the search like any other failure.
QString FieldText(const QVariant& value);

// The logon time as "yyyy/mm/dd h:mm:ss" (hour without a leading zero), or "－" when the
// value's text is empty. NULL raises an OraError as in FieldText.
QString LogonTimeText(const QVariant& value);

} // namespace ora
