#include "kestrom.h"
Kestrom::Kestrom(QWidget* parent) : QMainWindow(parent) {}
void Kestrom::Form_Load() { show(); }
