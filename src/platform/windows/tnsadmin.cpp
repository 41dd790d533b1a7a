#include "platform/tnsadmin.h"

#include <QSettings>

namespace platform {
QStringList TnsAdminFolders() {
    QStringList folders;
    auto add = [&folders](const QString& folder) {
        if (!folder.isEmpty() && !folders.contains(folder, Qt::CaseInsensitive))
            folders << folder;
    };
    // A 32-bit client keeps its keys in the registry's 32-bit view.
    for (const QSettings::Format view :
         {QSettings::Registry64Format, QSettings::Registry32Format}) {
        QSettings oracle(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE"), view);
        add(oracle.value(QStringLiteral("TNS_ADMIN")).toString());
        for (const QString& home : oracle.childGroups())
            if (home.startsWith(QStringLiteral("KEY_"), Qt::CaseInsensitive))
                add(oracle.value(home + QStringLiteral("/TNS_ADMIN")).toString());
    }
    return folders;
}
} // namespace platform
