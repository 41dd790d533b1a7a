#include "classic/pointer.h"

#include <QApplication>
#include <QWidget>

namespace classic {
void SetMousePointer(QWidget* window, int pointer) {
    const bool busy = MousePointer(window) == vbHourglass;
    if (pointer == vbHourglass) {
        window->setCursor(Qt::WaitCursor);
        // The window's children keep cursors of their own; the hourglass must show over them.
        if (!busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        window->unsetCursor();
        if (busy)
            QApplication::restoreOverrideCursor();
    }
}
int MousePointer(const QWidget* window) {
    return window->testAttribute(Qt::WA_SetCursor) && window->cursor().shape() == Qt::WaitCursor
               ? vbHourglass
               : vbDefault;
}
} // namespace classic
