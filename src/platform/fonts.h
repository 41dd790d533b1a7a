#pragma once

namespace platform {
// The windows name the Japanese Windows fonts "ＭＳ Ｐゴシック" and "ＭＳ ゴシック"; where those
// are missing, map them to fonts of this system that have the same metrics or at least
// Japanese glyphs (on Linux the IPA fonts, then common CJK fonts).
void InstallFontSubstitutions();
} // namespace platform
