#pragma once

#include <QtGlobal>

class QKeyEvent;

namespace classic {

constexpr qint16 vbKeyReturn = 13;
constexpr qint16 vbKeyEscape = 27;
constexpr qint16 vbKeyDelete = 46;

constexpr qint16 vbShiftMask = 1;
constexpr qint16 vbCtrlMask = 2;
constexpr qint16 vbAltMask = 4;

// The classic virtual key code of a key press (13 for either Enter key, 46 for Delete,
// letters and digits as their upper-case ASCII code), or 0 for keys we do not map.
qint16 KeyCodeOf(const QKeyEvent* event);
// The classic shift state of a key press: Shift 1, Ctrl 2, Alt 4.
qint16 ShiftOf(const QKeyEvent* event);

} // namespace classic
