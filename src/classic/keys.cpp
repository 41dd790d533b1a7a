#include "classic/keys.h"

#include <QKeyEvent>

namespace classic {

qint16 KeyCodeOf(const QKeyEvent* event) {
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vbKeyReturn;
    case Qt::Key_Delete:
        return vbKeyDelete;
    case Qt::Key_Escape:
        return vbKeyEscape;
    default:
        break;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<qint16>(key);
    return 0;
}

qint16 ShiftOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers m = event->modifiers();
    qint16 shift = 0;
    if (m & Qt::ShiftModifier)
        shift |= vbShiftMask;
    if (m & Qt::ControlModifier)
        shift |= vbCtrlMask;
    if (m & Qt::AltModifier)
        shift |= vbAltMask;
    return shift;
}

} // namespace classic
