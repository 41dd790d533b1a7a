#pragma once

namespace platform {
// The windows speak Japanese whatever the user's locale: Qt's own texts (standard buttons,
// the text boxes' context menus) are loaded in Japanese too, when Qt's translations are
// installed (Debian: qt6-translations-l10n; on Windows they come with the program).
void InstallJapaneseQtTexts();
} // namespace platform
