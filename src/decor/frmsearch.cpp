#include "decor/frmsearch.h"

#include "classic/events.h"
#include "classic/mainform.h"
#include "classic/twips.h"
#include "decor/centre.h"
#include "decor/dasPBer.h"
#include "decor/svgpicture.h"
#include "platform/paintnow.h"

#include <QCloseEvent>
#include <QPointer>

namespace {
QPointer<frmSearch>& loaded() {
    static QPointer<frmSearch> window;
    return window;
}
} // namespace

// The banner bypasses the window manager: a managed window appears only once the window
// manager has framed it, which it would do only after the search has blocked the thread.
frmSearch::frmSearch(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowDoesNotAcceptFocus |
                          Qt::BypassWindowManagerHint) {
    setObjectName(QStringLiteral("frmSearch"));
    // It takes no input, so showing it must not take the focus from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(classic::TwipsToPixelsX(2880), classic::TwipsToPixelsY(480));

    // The picture is wider than the window; the strip beyond the right edge is not seen.
    Picture1 = new SvgPicture(QStringLiteral(":/art/search.svg"), this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    classic::SetControlRectTwips(Picture1, QRectF(0, 0, 3000, 480));
}

void frmSearch::Form_Load() {
    centre::CentreOverMainForm(*this);
    // The window stays alive while a call waits, so it may be moved or resized under the
    // banner; the filter goes with the banner.
    if (QWidget* main = classic::MainForm())
        main->installEventFilter(this);
    // Pending events may unload the window (a nested search ending); stop if they did.
    QPointer<frmSearch> self(this);
    classic::DoEvents();
    if (!self)
        return;
    mHwnd = static_cast<quintptr>(winId());
    if (mHwnd == 0)
        mHwnd = reinterpret_cast<quintptr>(this);
    qint16 topmost = -1;
    dasPBer::TopMostSet(topmost);
    show();
    raise();
    // Painted now, before the search blocks the thread.
    classic::DoEvents();
    if (self)
        platform::PaintNow(this);
}

void frmSearch::Form_QueryUnload() {
    mHwnd = 0;
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == classic::MainForm() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        centre::CentreOverMainForm(*this);
    return QWidget::eventFilter(watched, event);
}

void frmSearch::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
}

void frmSearch::Show() {
    if (loaded()) {
        loaded()->show();
        return;
    }
    loaded() = new frmSearch;
    loaded()->Form_Load();
}

void frmSearch::Unload() {
    frmSearch* window = loaded().data();
    if (!window)
        return;
    loaded() = nullptr;
    window->close();
    delete window;
}

frmSearch* frmSearch::instance() {
    return loaded().data();
}
