#pragma once

#include <QString>
#include <QVariant>

namespace ora {

class OraField;
struct RawValue;

// The text a grid cell shows for a field value. NULL cannot be shown as text: it raises an
// OraError, which ends the search like any other failure.
QString FieldText(const QVariant& value);

// The logon time as "yyyy/mm/dd h:mm:ss" (hour without a leading zero), or "－" when the
// value's text is empty. NULL raises an OraError as in FieldText.
QString LogonTimeText(const QVariant& value);

// FieldText, or LogonTimeText when `logonTime`, of a field's current value, written into
// `out`, whose buffer is used again when it is large enough: a search turns every cell of a
// long list into text, and this way neither a QVariant nor a new string is made for each.
void CellTextInto(const OraField& field, bool logonTime, QString& out);

// A date's text as CellTextInto writes it, in ASCII into `out` (room for 19 bytes); its
// length, or 0 when the value is no date shown that way.
qsizetype DateTimeAscii(const RawValue& raw, char* out);

} // namespace ora
