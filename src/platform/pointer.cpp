#include "pointer.h"

#include <QWidget>

namespace platform {
void SetMousePointer(QWidget* window, int pointer) {
    if (pointer == vbHourglass)
        window->setCursor(Qt::WaitCursor);
    else
        window->unsetCursor();
}
int MousePointer(const QWidget* window) {
    return window->testAttribute(Qt::WA_SetCursor) && window->cursor().shape() == Qt::WaitCursor
               ? vbHourglass
               : vbDefault;
}
} // namespace platform
