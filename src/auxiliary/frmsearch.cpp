#include "frmsearch.h"

#include <QPointer>

namespace {
QPointer<frmSearch>& loaded() {
    static QPointer<frmSearch> window;
    return window;
}
} // namespace

frmSearch::frmSearch(QWidget* parent) : QWidget(parent) {}
void frmSearch::Form_Load() {}
void frmSearch::Form_QueryUnload() { mHwnd = 0; }

void frmSearch::Show() {
    if (!loaded())
        loaded() = new frmSearch;
}

void frmSearch::Unload() { delete loaded().data(); }
frmSearch* frmSearch::instance() { return loaded().data(); }
