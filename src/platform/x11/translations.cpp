#include "platform/translations.h"

#include <QLibraryInfo>

namespace platform {
QStringList QtTranslationFolders() {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}
} // namespace platform
