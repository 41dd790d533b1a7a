#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace platform {
void InstallFontSubstitutions() {
    // Japanese Windows has both fonts (English Windows under their English names once the
    // Japanese supplemental fonts are installed); elsewhere the Japanese UI fonts that every
    // Windows 10 carries, never a font without Japanese glyphs.
    const QStringList fallbacks{QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               QStringList{QStringLiteral("MS PGothic")} + fallbacks);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               QStringList{QStringLiteral("MS Gothic")} + fallbacks);
}
} // namespace platform
