#pragma once

#include <Qt>

namespace platform {
// A fixed dialog border: a caption with a close box, no minimise or maximise button, not
// resizable.
constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
} // namespace platform
