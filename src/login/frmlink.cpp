#include "frmlink.h"

frmLink::frmLink(QWidget* parent) : QDialog(parent) {}

qint16 frmLink::LinkSet(QString&, QString&, QString&) { return 0; }
