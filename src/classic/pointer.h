#pragma once

class QWidget;

namespace classic {
constexpr int vbDefault = 0;
constexpr int vbHourglass = 11;
// Sets a window's mouse pointer by its classic value (0 default, 11 hourglass).
void SetMousePointer(QWidget* window, int pointer);
int MousePointer(const QWidget* window);
} // namespace classic
