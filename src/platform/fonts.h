#pragma once

namespace platform {
// The windows name the Japanese Windows fonts; map them to the installed IPA fonts
// (metric-compatible) and then to common CJK fonts.
void InstallFontSubstitutions();
} // namespace platform
