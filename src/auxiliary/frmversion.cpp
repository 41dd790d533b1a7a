#include "frmversion.h"

frmVersion::frmVersion(QWidget* parent) : QDialog(parent) {}
void frmVersion::ShowModal() {}
