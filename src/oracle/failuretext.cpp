#include "oracle/failuretext.h"

namespace ora {
QString FailureText(const QString& sentence, const QString& description) {
    return sentence + QStringLiteral("\r\n\r\n「") + description + QStringLiteral("」");
}
} // namespace ora
