#include "login/hoststrings.h"

#include "login/tnsnames.h"

#include <QSettings>

namespace {
const QString kRecentKey = QStringLiteral("login/recentHostStrings");
constexpr qsizetype kRecentCount = 10;

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
}

QStringList Recent() {
    QStringList recent = Settings().value(kRecentKey).toStringList();
    recent.removeAll(QString());
    return recent.mid(0, kRecentCount);
}
} // namespace

QStringList HostStringChoices() {
    QStringList choices = Recent();
    for (const QString& alias : tnsnames::ClientAliases())
        if (!choices.contains(alias, Qt::CaseInsensitive))
            choices << alias;
    return choices;
}

void RememberHostString(const QString& host) {
    if (host.trimmed().isEmpty())
        return;
    QStringList recent = Recent();
    recent.removeIf(
        [&](const QString& known) { return known.compare(host, Qt::CaseInsensitive) == 0; });
    recent.prepend(host);
    Settings().setValue(kRecentKey, recent.mid(0, kRecentCount));
}
