#include "platform/inputmethod.h"

#include <QTimer>
#include <QWidget>
#include <windows.h>

#include <imm.h>

namespace platform {
void SwitchInputMethodOff(QWidget* box) {
    // Qt associates the window's input context with the box while the focus moves; the state
    // is set once that is done.
    QTimer::singleShot(0, box, [box] {
        if (!box->hasFocus())
            return;
        const auto window = reinterpret_cast<HWND>(box->window()->winId());
        if (HIMC context = ImmGetContext(window)) {
            ImmSetOpenStatus(context, FALSE);
            ImmReleaseContext(window, context);
        }
    });
}
} // namespace platform
