#include "platform/fonts.h"
#include "start/frmstart.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    auto* start = new FrmStart;
    if (!start->Form_Load())
        return 0;
    start->show();
    return app.exec();
}
