#include "start/frmstart.h"

#include "classic/events.h"
#include "classic/msgbox.h"
#include "classic/twips.h"
#include "console/kestrom.h"
#include "platform/instance.h"
#include "platform/svgpixmap.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QTimer>

namespace {
void openMainWindow() {
    // Not deleted on close: a procedure of the window may still be running in a nested event
    // loop when it closes. The program deletes it once the application's event loop has ended
    // (not on aboutToQuit, which newer Qt emits while those procedures still run).
    auto* main = new Kestrom;
    // The program ends with its main window, whatever other windows are left.
    QObject::connect(main, &Kestrom::closed, main, [] { classic::EndProgram(); });
    main->Form_Load();
}
} // namespace

FrmStart::FrmStart(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::SplashScreen), Picture1(new QLabel(this)),
      Timer1(new QTimer(this)), mOpenMain(&openMainWindow) {
    setObjectName(QStringLiteral("FrmStart"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(classic::TwipsToPixelsX(6015), classic::TwipsToPixelsY(3750));

    Picture1->setObjectName(QStringLiteral("Picture1"));
    classic::SetControlRectTwips(Picture1, QRectF(10, 10, 6030, 3750));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setAutoFillBackground(true);
    QPalette palette = Picture1->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    Picture1->setPalette(palette);
    Picture1->setPixmap(platform::SvgPixmap(QStringLiteral(":/art/splash.svg"), QSize(400, 250)));

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    connect(Timer1, &QTimer::timeout, this, &FrmStart::Timer1_Timer);
    Timer1->start();
}

bool FrmStart::Form_Load() {
    classic::CentreOnScreen(this);
    Timer1->stop();
    if (platform::AppPrevInstance()) {
        classic::MsgBox(QStringLiteral("このアプリケーションはすでに開かれています。"),
                        classic::vbExclamation, QStringLiteral("APP Load Error"));
        close();
        return false;
    }
    Timer1->start();
    return true;
}

void FrmStart::Timer1_Timer() {
    // The main window's opening waits in the login dialog; a further tick meanwhile must not
    // open it again.
    if (mOpening)
        return;
    mOpening = true;
    Timer1->stop();
    // The splash goes as the main window comes, so that it never hides the login dialog.
    hide();
    mOpenMain();
    Timer1->stop();
    close();
}
