#include "oracle/sessioncancel.h"

namespace ora {

QString CancelStatement(const SessionKey& key) {
    // The numbers come from a validated key; the spacing is the one Oracle documents.
    QString id = QStringLiteral("%1, %2").arg(key.sid).arg(key.serial);
    if (key.instance > 0)
        id += QStringLiteral(", @%1").arg(key.instance);
    return QStringLiteral("ALTER SYSTEM CANCEL SQL '") + id + QChar(u'\'');
}

} // namespace ora
