#include "classic/mainform.h"

#include <QPointer>
#include <QWidget>

namespace classic {
namespace {
QPointer<QWidget>& mainForm() {
    static QPointer<QWidget> form;
    return form;
}
} // namespace
QWidget* MainForm() {
    return mainForm().data();
}
void SetMainForm(QWidget* window) {
    mainForm() = window;
}
} // namespace classic
