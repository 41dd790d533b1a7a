#include "oracle/sessionkill.h"

#include "oracle/database.h"

#include <algorithm>

namespace ora {

QString KillStatement(const QString& sid, const QString& serial) {
    return QStringLiteral("ALTER SYSTEM KILL SESSION '") + sid + QChar(u',') + serial +
           QChar(u'\'');
}

namespace {
std::optional<qint64> PositiveNumber(const QString& text) {
    // Digits only: toLongLong alone would also take blanks and a sign.
    if (text.isEmpty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() && c < u'\x80'; }))
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value <= 0)
        return std::nullopt;
    return value;
}
} // namespace

std::optional<SessionKey> ParseSessionKey(const QString& sid, const QString& serial,
                                          const QString& instance) {
    const std::optional<qint64> s = PositiveNumber(sid);
    const std::optional<qint64> n = PositiveNumber(serial);
    const std::optional<qint64> i =
        instance.isEmpty() ? std::optional<qint64>(0) : PositiveNumber(instance);
    if (!s || !n || !i)
        return std::nullopt;
    return SessionKey{*s, *n, *i};
}

QString NotASessionKeyText() {
    return QStringLiteral("ｾｯｼｮﾝIDまたはｼﾘｱﾙNo.が数値ではありません。");
}

bool SameSession(const SessionKey& a, const SessionKey& b, qint64 connectedInstance) {
    const auto on = [&](const SessionKey& k) {
        return k.instance > 0 ? k.instance : connectedInstance;
    };
    return a.sid == b.sid && a.serial == b.serial && on(a) == on(b);
}

QString KillStatement(const SessionKey& key, bool immediate) {
    QString serial = QString::number(key.serial);
    if (key.instance > 0)
        serial += QStringLiteral(",@") + QString::number(key.instance);
    QString text = KillStatement(QString::number(key.sid), serial);
    if (immediate)
        text += QStringLiteral(" IMMEDIATE");
    return text;
}

bool IsOtherMachine(const QString& terminal, const QString& myMachine) {
    return terminal != myMachine;
}

bool KillAccepted(const OraError& error) {
    return error.code() == 31;
}

} // namespace ora
