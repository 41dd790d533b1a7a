#include "platform/translations_internal.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace platform {
QStringList QtTranslationFolders() {
    // The program carries Qt's translations in a folder beside it.
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}
} // namespace platform
