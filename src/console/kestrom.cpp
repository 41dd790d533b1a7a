#include "console/kestrom.h"

#include "classic/enterkey.h"
#include "classic/events.h"
#include "classic/keys.h"
#include "classic/mainform.h"
#include "classic/msgbox.h"
#include "classic/twips.h"
#include "classic/zoom.h"
#include "console/frmdetails.h"
#include "console/gridcolumns.h"
#include "console/mainlayout.h"
#include "console/panelstatusbar.h"
#include "console/printablelinevalidator.h"
#include "console/sessiongrid.h"
#include "decor/basline.h"
#include "decor/frmversion.h"
#include "login/frmlink.h"
#include "oracle/failuretext.h"
#include "oracle/secret.h"
#include "platform/closerequest.h"
#include "platform/svgpixmap.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

QFont pGothic(qreal points) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(points);
    return font;
}

// Places a control from its designed rectangle in twips.
template <typename W>
W* placed(W* widget, const char* name, float left, float top, float width, float height) {
    widget->setObjectName(QString::fromLatin1(name));
    classic::SetControlRectTwips(widget, QRectF(left, top, width, height));
    return widget;
}

// Changes one edge or the size of a control, in twips. A negative size cannot be set: that
// step is skipped, as each step of the layout stands on its own.
void adjust(QWidget* control, void (QRectF::*change)(qreal), float twips) {
    QRectF r = classic::ControlRectTwips(control);
    (r.*change)(twips);
    if (r.width() < 0 || r.height() < 0)
        return;
    classic::SetControlRectTwips(control, r);
}

// How long the end of the program waits for the connections' threads to leave the client
// library (a broken-off call, a logoff, a late logon logged off) within its 5-s bound. The
// logoff's own time-out (1.5 s a round trip, two for an administrative logon) fits in it,
// and the closing itself in the rest.
constexpr int kCloseLimitMs = 3500;

} // namespace

Kestrom::Kestrom(QWidget* parent) : QMainWindow(parent), mLoginPrompt(&frmLink::LinkSet) {
    setObjectName(QStringLiteral("Kestrom"));
    setWindowTitle(QStringLiteral("Kestrom"));
    setFont(pGothic(9));
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(platform::SvgPixmap(QStringLiteral(":/art/icon.svg"), QSize(size, size)));
    setWindowIcon(icon);
    buildMenus();
    buildControls();
    buildGridActions();
    // The designed client area, 9150 x 5595 twips, under the menu bar.
    resize(classic::TwipsToPixelsX(9150),
           menuBar()->sizeHint().height() + classic::TwipsToPixelsY(5595));
    classic::SetMainForm(this);
}

Kestrom::~Kestrom() {
    ora::Wipe(mSetPass);
    if (classic::MainForm() == this)
        classic::SetMainForm(nullptr);
}

void Kestrom::buildControls() {
    mClient = new QWidget(this);
    mClient->setObjectName(QStringLiteral("client"));
    setCentralWidget(mClient);

    txtPcName = placed(new QLineEdit(mClient), "txtPcName", 1200, 195, 1815, 285);
    // The name goes into the statement's literal: one line of printable text only, at most 15
    // characters as the user sees them (the box's own maximum counts UTF-16 units).
    txtPcName->setValidator(new PrintableLineValidator(15, txtPcName));
    txtPcName->setFont(pGothic(9.75));
    txtPcName->installEventFilter(this);

    cmdSearch = placed(new QPushButton(QStringLiteral("検　索"), mClient), "cmdSearch", 3120, 150,
                       1335, 375);
    connect(cmdSearch, &QPushButton::clicked, this, &Kestrom::cmdSearch_Click);

    // The connect button is designed inside the frame's area; the frame covers it, while it
    // keeps its caption, its place in the tab order and its focus.
    CmdDB =
        placed(new QPushButton(QStringLiteral("ＤＢ接続"), mClient), "CmdDB", 480, 960, 255, 255);
    connect(CmdDB, &QPushButton::clicked, this, &Kestrom::CmdDB_Click);

    Labe1 = placed(new QLabel(QStringLiteral("マシン名称"), mClient), "Labe1", 120, 240, 975, 255);
    Labe1->setFont(pGothic(9.75));

    Frame1 = placed(new QGroupBox(QStringLiteral("セッションリスト"), mClient), "Frame1", 120, 600,
                    8895, 4575);
    MSFlexGrid1 = placed(new SessionGrid(Frame1), "MSFlexGrid1", 120, 240, 8655, 3585);
    MSFlexGrid1->setFont(pGothic(9));
    connect(MSFlexGrid1, &SessionGrid::KeyDown, this, &Kestrom::MSFlexGrid1_KeyDown);
    cmdSessionCt = placed(new QPushButton(QStringLiteral("セッション切断"), Frame1), "cmdSessionCt",
                          120, 3960, 3705, 495);
    cmdSessionCt->setEnabled(false);
    connect(cmdSessionCt, &QPushButton::clicked, this, &Kestrom::cmdSessionCt_Click);
    cmdEN = placed(new QPushButton(QStringLiteral("終了"), Frame1), "cmdEN", 7440, 3960, 1335, 495);
    connect(cmdEN, &QPushButton::clicked, this, &Kestrom::cmdEN_Click);

    Label2 = placed(new QLabel(mClient), "Label2", 0, 5280, 10095, 45);
    Label2->setFrameShape(QFrame::HLine);
    Label2->setFrameShadow(QFrame::Sunken);

    sbStatusBar = new PanelStatusBar(mClient);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setPanelText(1, QStringLiteral("- DB未接続 -"));
    mClient->installEventFilter(this);

    for (QPushButton* b : {cmdSearch, CmdDB, cmdSessionCt, cmdEN}) {
        b->setAutoDefault(false);
        classic::EnterPressesButton(b);
    }
    Labe1->setFocusPolicy(Qt::NoFocus);
    Frame1->setFocusPolicy(Qt::NoFocus);
    // Tab order: txtPcName, cmdSearch, MSFlexGrid1, CmdDB, cmdSessionCt, cmdEN.
    setTabOrder(txtPcName, cmdSearch);
    setTabOrder(cmdSearch, MSFlexGrid1);
    setTabOrder(MSFlexGrid1, CmdDB);
    setTabOrder(CmdDB, cmdSessionCt);
    setTabOrder(cmdSessionCt, cmdEN);
}

void Kestrom::buildGrid() {
    SessionGrid* g = MSFlexGrid1;
    g->setRows(2);
    g->setCols(kListColumns);
    g->setFixedRows(1);
    g->setFixedCols(1);
    classic::SetControlRectTwips(
        g, QRectF(classic::ControlRectTwips(g).topLeft(), QSizeF(8655, 3580)));
    g->setRowHeight(0, 250);
    g->setRow(0);
    for (int c = colNo; c < kListColumns; ++c)
        setHeaderCell(kGridColumns[static_cast<size_t>(c)]);
    g->setCol(colNo);
    g->setRows(1);
}

void Kestrom::setHeaderCell(const GridColumnSpec& spec) {
    SessionGrid* g = MSFlexGrid1;
    g->setColWidth(spec.column, spec.width);
    g->setCol(spec.column);
    g->setText(spec.header.toString());
    // The corner cell keeps its default alignment; the column captions are centred.
    if (spec.column != colNo)
        g->setCellAlignment(SessionGrid::flexAlignCenterCenter);
}

void Kestrom::reportFailure(const QString& sentence, const QString& description) {
    classic::MsgBox(ora::FailureText(sentence, description), classic::vbInformation);
}

void Kestrom::Form_Load() {
    basline::EtchedLineDraw(*mClient);
    classic::CentreOnScreen(this);
    mWindowRect = classic::GetWindowRect(this);
    mMirrorRect = classic::Mirror(mWindowRect);
    classic::DrawAnimatedRects(this, classic::IDANI_CAPTION, mMirrorRect, mWindowRect);
    GetMyPcName();
    buildGrid();
    mSetID = QStringLiteral("system");
    mSetPass = QStringLiteral("pelmora");
    show();
    // One close request ends the program also while the login dialog, a message box or the
    // version window is open: the dialog is left as cancelled, the database logged off.
    platform::OnCloseRequestWhileBlocked(this, [this] { close(); });
    txtPcName->setFocus();
    classic::DoEvents();
    if (mUnloaded)
        return;
    mDbLinkFlg = 0;
    CmdDB_Click();
}

void Kestrom::closeEvent(QCloseEvent* event) {
    // The closing sequence lets events run (closing the database, the zoom); a second close
    // request arriving meanwhile finds the window already unloading.
    const bool first = !mUnloaded;
    mUnloaded = true;
    if (first)
        Form_QueryUnload();
    event->accept();
    Q_EMIT closed();
}

void Kestrom::Form_QueryUnload() {
    closeDatabaseQuietly();
    waitForClientCalls();
    // A call that did not come back within the bound is left to its thread.
    callwait::AbandonAll();
    mWindowRect = classic::GetWindowRect(this);
    mMirrorRect = classic::Mirror(mWindowRect);
    classic::DrawAnimatedRects(this, classic::IDANI_CAPTION, mWindowRect, mMirrorRect);
}

void Kestrom::closeDatabaseQuietly() {
    // What the details window shows was read on this connection; it goes with it.
    frmDetails::Unload();
    // A call still running is broken off, and the logoff made behind it in the background: a
    // wait from which this was reached holds the connection until it ends.
    if (const std::shared_ptr<ora::Connection> connection = std::exchange(mConnection, nullptr))
        connection->close();
}

void Kestrom::waitForClientCalls() {
    // Waited for on a thread of its own, so that the window keeps answering meanwhile.
    ora::CallThread waiter;
    const std::shared_ptr<ora::PendingCall> done =
        waiter.post([] { ora::WaitForClientCalls(kCloseLimitMs); });
    // Esc cannot hurry a logoff; the bound does.
    callwait::Wait(
        *done, nullptr, [](ora::PendingCall&) {}, kCloseLimitMs);
}

void Kestrom::Link_Click() {
    CmdDB_Click();
}
void Kestrom::Cutting_Click() {
    CmdDB_Click();
}
void Kestrom::Search_Click() {
    cmdSearch_Click();
}
void Kestrom::cmdEN_Click() {
    close();
}
void Kestrom::EN_Click() {
    cmdEN_Click();
}
void Kestrom::MyPcName_Click() {
    txtPcName->setText(mMyPCname);
}
void Kestrom::txtPcName_DblClick() {
    MyPcName_Click();
}
void Kestrom::Version_Click() {
    frmVersion::ShowModal();
}

void Kestrom::txtPcName_KeyDown(qint16& KeyCode, qint16&) {
    if (KeyCode != classic::vbKeyReturn)
        return;
    if (!mConnection)
        CmdDB_Click();
    else
        cmdSearch_Click();
}

void Kestrom::MSFlexGrid1_KeyDown(qint16& KeyCode, qint16&) {
    if (!cmdSessionCt->isEnabled())
        return;
    if (KeyCode == classic::vbKeyReturn)
        cmdSessionCt->setFocus();
    else if (KeyCode == classic::vbKeyDelete)
        cmdSessionCt_Click();
}

bool Kestrom::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPcName) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            qint16 code = classic::KeyCodeOf(key);
            qint16 shift = classic::ShiftOf(key);
            txtPcName_KeyDown(code, shift);
            // Enter has no meaning for a single-line box beyond the rule above.
            return classic::KeyCodeOf(key) == classic::vbKeyReturn;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            txtPcName_DblClick();
            return true;
        }
    }
    if (watched == mClient && event->type() == QEvent::Resize)
        placeStatusBar();
    return QMainWindow::eventFilter(watched, event);
}

void Kestrom::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Kestrom::placeStatusBar() {
    // Docked to the bottom edge over the full width, as the status bar docks itself.
    const int height = sbStatusBar->sizeHint().height();
    sbStatusBar->setGeometry(0, mClient->height() - height, mClient->width(), height);
    sbStatusBar->raise();
}

float Kestrom::outerWidth() const {
    return classic::PixelsToTwipsX(mClient->width()) + mainlayout::kNonClientWidth;
}

float Kestrom::outerHeight() const {
    const int client = height() - menuBar()->height();
    return classic::PixelsToTwipsY(client) + mainlayout::kNonClientHeight;
}

void Kestrom::setOuterWidth(float twips) {
    resize(classic::TwipsToPixelsX(twips - mainlayout::kNonClientWidth), height());
}

void Kestrom::setOuterHeight(float twips) {
    resize(width(),
           menuBar()->height() + classic::TwipsToPixelsY(twips - mainlayout::kNonClientHeight));
}

void Kestrom::Form_Resize() {
    // A minimised or maximised window cannot be given a size; those steps are skipped, and
    // the next resize after the window is restored lays everything out again.
    const bool sizable =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const mainlayout::Layout l = mainlayout::Compute(outerWidth(), outerHeight());
    if (l.windowWidth && sizable)
        setOuterWidth(*l.windowWidth);
    if (l.windowHeight && sizable)
        setOuterHeight(*l.windowHeight);
    adjust(Frame1, &QRectF::setWidth, l.frameWidth);
    adjust(MSFlexGrid1, &QRectF::setWidth, l.gridWidth);
    adjust(cmdEN, &QRectF::moveLeft, l.exitLeft);
    adjust(Frame1, &QRectF::setHeight, l.frameHeight);
    adjust(MSFlexGrid1, &QRectF::setHeight, l.gridHeight);
    adjust(cmdSessionCt, &QRectF::moveTop, l.killTop);
    adjust(cmdEN, &QRectF::moveTop, l.exitTop);
    adjust(Label2, &QRectF::moveTop, l.separatorTop);
    adjust(Label2, &QRectF::setWidth, l.separatorWidth);
}
