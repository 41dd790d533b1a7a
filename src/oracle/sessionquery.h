#pragma once

#include <QString>

namespace ora {

// The v$session query for one terminal, ordered by sid and serial#. An empty machine name
// lists every session. Lines are joined with CR alone.
QString SessionQuery(const QString& machine);

// The text of an SQL string literal, quotes included; a quote inside is doubled so that the
// value is matched exactly as typed.
QString SqlLiteral(const QString& value);

} // namespace ora
