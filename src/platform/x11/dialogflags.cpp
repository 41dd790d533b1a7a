#include "platform/dialogflags.h"

#include "platform/x11/xcb.h"

#include <QWidget>

namespace platform {
void OfferOnlyCloseBox(QWidget* dialog) {
    // Openbox ignores the Motif hints by which the flags drop the minimise and maximise
    // buttons, and draws both on every dialog; it leaves them off menu windows. For it alone
    // the dialog names itself a menu first and a dialog second (other window managers would
    // draw a menu differently).
    if (x11::WindowManagerName() == QStringLiteral("Openbox"))
        x11::SetWindowTypes(dialog, {"_NET_WM_WINDOW_TYPE_MENU", "_NET_WM_WINDOW_TYPE_DIALOG"});
}
} // namespace platform
