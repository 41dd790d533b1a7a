#include "oracle/sessionrow.h"

#include "oracle/database.h"

#include <QDateTime>

namespace ora {

namespace {
void requireValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        throw OraError(QStringLiteral("Null の使い方が不正です。"));
}

void appendDigits(QChar*& out, int value, int width) {
    QChar* end = out + width;
    for (QChar* p = end; p != out;) {
        *--p = QChar(u'0' + value % 10);
        value /= 10;
    }
    out = end;
}

// "yyyy/mm/dd h:mm:ss", written directly: a search formats one per session, and the general
// date formatter costs several times the rest of the row.
QString formatDateTime(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (!d.isValid() || year < 0 || year > 9999)
        return when.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
    QString text(t.hour() >= 10 ? 19 : 18, Qt::Uninitialized);
    QChar* out = text.data();
    appendDigits(out, year, 4);
    *out++ = QChar(u'/');
    appendDigits(out, month, 2);
    *out++ = QChar(u'/');
    appendDigits(out, day, 2);
    *out++ = QChar(u' ');
    appendDigits(out, t.hour(), t.hour() >= 10 ? 2 : 1);
    *out++ = QChar(u':');
    appendDigits(out, t.minute(), 2);
    *out++ = QChar(u':');
    appendDigits(out, t.second(), 2);
    return text;
}
} // namespace

QString FieldText(const QVariant& value) {
    // Text is nearly every cell of a search: take it without the general conversions.
    if (value.userType() == QMetaType::QString)
        return *static_cast<const QString*>(value.constData());
    requireValue(value);
    if (value.userType() == QMetaType::QDateTime)
        return formatDateTime(value.toDateTime());
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
    return formatDateTime(when);
}

} // namespace ora
