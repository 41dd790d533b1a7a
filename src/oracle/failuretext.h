#pragma once

#include <QString>

namespace ora {
// A failure reason for the user: the sentence, an empty line, then the error's description
// in corner brackets.
QString FailureText(const QString& sentence, const QString& description);
} // namespace ora
