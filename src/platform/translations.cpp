#include "platform/translations_internal.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace platform {
void InstallJapaneseQtTexts() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QStringList folders = QtTranslationFolders();
    for (const QString& folder : folders) {
        if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}
} // namespace platform
