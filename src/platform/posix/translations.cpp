#include "platform/translations_internal.h"

#include <QLibraryInfo>

namespace platform {
QStringList QtTranslationFolders() {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}
} // namespace platform
