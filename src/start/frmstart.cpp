#include "frmstart.h"
FrmStart::FrmStart(QWidget* parent) : QWidget(parent) {}
bool FrmStart::Form_Load() {
    return true;
}
