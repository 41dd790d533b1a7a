#pragma once

#include <Qt>

class QWidget;

namespace platform {
// A fixed dialog border: a caption with a close box, no minimise or maximise button, not
// resizable.
constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Makes the window manager draw only the close box on a dialog's caption, as its flags ask;
// called before the dialog is first shown.
void OfferOnlyCloseBox(QWidget* dialog);
} // namespace platform
