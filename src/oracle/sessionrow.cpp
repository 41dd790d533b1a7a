#include "oracle/sessionrow.h"

#include "oracle/database.h"

#include <QDateTime>
#include <algorithm>

namespace ora {

namespace {
void requireValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        throw OraError(QStringLiteral("Null の使い方が不正です。"));
}

template <typename Char> void appendTwoDigits(Char*& out, int value) {
    out[0] = static_cast<Char>(u'0' + value / 10);
    out[1] = static_cast<Char>(u'0' + value % 10);
    out += 2;
}

// "yyyy/mm/dd h:mm:ss" of fields known to be a valid date and time of the years 0-9999;
// returns the end. Written digit pair by digit pair: a search writes one per session.
template <typename Char>
Char* writeDateTimeTo(int year, int month, int day, int hour, int minute, int second, Char* out) {
    appendTwoDigits(out, year / 100);
    appendTwoDigits(out, year % 100);
    *out++ = static_cast<Char>(u'/');
    appendTwoDigits(out, month);
    *out++ = static_cast<Char>(u'/');
    appendTwoDigits(out, day);
    *out++ = static_cast<Char>(u' ');
    if (hour >= 10)
        appendTwoDigits(out, hour);
    else
        *out++ = static_cast<Char>(u'0' + hour);
    *out++ = static_cast<Char>(u':');
    appendTwoDigits(out, minute);
    *out++ = static_cast<Char>(u':');
    appendTwoDigits(out, second);
    return out;
}

void writeDateTime(int year, int month, int day, int hour, int minute, int second, QString& text) {
    text.resize(hour >= 10 ? 19 : 18);
    writeDateTimeTo(year, month, day, hour, minute, second,
                    reinterpret_cast<char16_t*>(text.data()));
}

bool shownAsItIs(const RawValue::DateFields& d) {
    return d.year >= 0 && d.year <= 9999 && QDate::isValid(d.year, d.month, d.day) &&
           QTime::isValid(d.hour, d.minute, d.second);
}

// The same written directly: a search formats one per session, and the general date
// formatter costs several times the rest of the row.
QString formatDateTime(const QDateTime& when) {
    const QDate d = when.date();
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (!d.isValid() || year < 0 || year > 9999)
        return when.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
    const QTime t = when.time();
    QString text;
    writeDateTime(year, month, day, t.hour(), t.minute(), t.second(), text);
    return text;
}

// UTF-8 text into `out`; ASCII, nearly every cell of a search, is widened in place.
void utf8Into(QByteArrayView utf8, QString& out) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const qsizetype size = utf8.size();
    unsigned char high = 0;
    for (qsizetype i = 0; i < size; ++i)
        high |= in[i];
    if (high >= 0x80) {
        out = QString::fromUtf8(utf8);
        return;
    }
    out.resize(size);
    std::copy_n(in, size, reinterpret_cast<char16_t*>(out.data()));
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

void CellTextInto(const OraField& field, bool logonTime, QString& out) {
    const RawValue raw = field.raw();
    switch (raw.kind) {
    case RawValue::Kind::Null:
        requireValue(QVariant());
        break;
    case RawValue::Kind::Utf8:
        // A logon time given as text is parsed as LogonTimeText does.
        if (!logonTime) {
            utf8Into(raw.utf8, out);
            return;
        }
        break;
    case RawValue::Kind::Date: {
        const RawValue::DateFields& d = raw.date;
        if (shownAsItIs(d)) {
            writeDateTime(d.year, d.month, d.day, d.hour, d.minute, d.second, out);
            return;
        }
        break;
    }
    case RawValue::Kind::Variant:
        break;
    }
    const QVariant value = field.value();
    out = logonTime ? LogonTimeText(value) : FieldText(value);
}

qsizetype DateTimeAscii(const RawValue& raw, char* out) {
    if (raw.kind != RawValue::Kind::Date || !shownAsItIs(raw.date))
        return 0;
    const RawValue::DateFields& d = raw.date;
    return writeDateTimeTo(d.year, d.month, d.day, d.hour, d.minute, d.second, out) - out;
}

} // namespace ora
