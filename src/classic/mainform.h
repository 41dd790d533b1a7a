#pragma once

class QWidget;

namespace classic {
// The program's main window, which the dialogs centre themselves over and take their icon
// from. Null while it does not exist.
QWidget* MainForm();
void SetMainForm(QWidget* window);
} // namespace classic
