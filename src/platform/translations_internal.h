#pragma once

#include "platform/translations.h"

#include <QStringList>

// The system's own part of InstallJapaneseQtTexts.
namespace platform {
// The folders where Qt's own translations are looked for, in order.
QStringList QtTranslationFolders();
} // namespace platform
