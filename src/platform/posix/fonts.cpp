#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace platform {
void InstallFontSubstitutions() {
    const QStringList fallbacks{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                                QStringLiteral("Droid Sans Fallback"),
                                QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               QStringList{QStringLiteral("IPAPGothic")} + fallbacks);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               QStringList{QStringLiteral("IPAGothic")} + fallbacks);
}
} // namespace platform
