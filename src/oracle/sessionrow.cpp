#include "sessionrow.h"

#include "database.h"

#include <QDateTime>

namespace ora {

namespace {
void requireValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        throw OraError(QStringLiteral("Null の使い方が不正です。"));
}
} // namespace

QString FieldText(const QVariant& value) {
    requireValue(value);
    if (value.userType() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
    return value.toString();
}

QString LogonTimeText(const QVariant& value) {
    requireValue(value);
    QDateTime when;
    if (value.userType() == QMetaType::QDateTime) {
        when = value.toDateTime();
    } else {
        const QString text = value.toString();
        if (text.isEmpty())
            return QStringLiteral("－");
        when = QDateTime::fromString(text, Qt::ISODate);
        // Text that is no date is shown as it came.
        if (!when.isValid())
            return text;
    }
    return when.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

} // namespace ora
