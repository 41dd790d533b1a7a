#include "login/frmlink.h"

#include "classic/enterkey.h"
#include "classic/events.h"
#include "classic/keys.h"
#include "classic/mainform.h"
#include "classic/msgbox.h"
#include "classic/twips.h"
#include "classic/zoom.h"
#include "decor/centre.h"
#include "login/hoststrings.h"
#include "login/passwordstyle.h"
#include "login/plaintextbox.h"
#include "platform/dialogflags.h"
#include "userid/userid.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The opening zoom starts from the dialog's mirror image, up and to the left of it.
constexpr qint32 kStartShiftX = 600;
constexpr qint32 kStartShiftY = 350;

classic::WinRect shifted(const classic::WinRect& r, qint32 dx, qint32 dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

frmLink::frmLink(QWidget* parent) : QDialog(parent, platform::FixedDialogFlags) {
    setObjectName(QStringLiteral("frmLink"));
    setWindowTitle(QStringLiteral("ログイン"));
    setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    setFixedSize(classic::TwipsToPixelsX(5385), classic::TwipsToPixelsY(1470));
    buildControls();
    platform::OfferOnlyCloseBox(this);
}

QLabel* frmLink::addLabel(const QString& name, const QString& caption, float top, float width) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    classic::SetControlRectTwips(label, QRectF(135, top, width, 180));
    return label;
}

QLineEdit* frmLink::addBox(const QString& name, float top, bool secret) {
    auto* box = new PlainTextBox(
        secret ? PlainTextBox::InputMethod::Disabled : PlainTextBox::InputMethod::OffOnFocus, this);
    box->setObjectName(name);
    box->installEventFilter(this);
    classic::SetControlRectTwips(box, QRectF(1395, top, 2445, 270));
    return box;
}

QPushButton* frmLink::addButton(const QString& name, const QString& caption, float top) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Neither is a default button: Enter presses only the button that has the focus.
    button->setAutoDefault(false);
    classic::EnterPressesButton(button);
    classic::SetControlRectTwips(button, QRectF(4050, top, 1185, 420));
    return button;
}

void frmLink::buildControls() {
    txtUsrID = addBox(QStringLiteral("txtUsrID"), 165, false);
    txtPasswd = addBox(QStringLiteral("txtPasswd"), 480, true);
    txtLinkChrLine = addBox(QStringLiteral("txtLinkChrLine"), 795, false);
    auto* hosts = new QCompleter(HostStringChoices(), txtLinkChrLine);
    hosts->setCaseSensitivity(Qt::CaseInsensitive);
    txtLinkChrLine->setCompleter(hosts);
    // The list of choices takes the keys while it is open; Enter there still logs in.
    hosts->popup()->installEventFilter(this);
    cmdOk = addButton(QStringLiteral("cmdOk"), QStringLiteral("ＯＫ"), 180);
    cmdNo = addButton(QStringLiteral("cmdNo"), QStringLiteral("キャンセル"), 680);
    lblUsrID = addLabel(QStringLiteral("lblUsrID"), QStringLiteral("ユーザＩＤ："), 225, 1080);
    lblPasswd[0] =
        addLabel(QStringLiteral("lblPasswd_0"), QStringLiteral("パスワード："), 540, 1080);
    lblPasswd[1] =
        addLabel(QStringLiteral("lblPasswd_1"), QStringLiteral("ホスト文字列："), 840, 1260);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblMessage->setLineWidth(1);
    lblMessage->setAlignment(Qt::AlignCenter);
    classic::SetControlRectTwips(lblMessage, QRectF(0, 1200, 5340, 225));

    txtPasswd->setEchoMode(QLineEdit::Password);
    auto* mask = new PasswordStyle;
    mask->setParent(txtPasswd);
    txtPasswd->setStyle(mask);

    setTabOrder(txtUsrID, txtPasswd);
    setTabOrder(txtPasswd, txtLinkChrLine);
    setTabOrder(txtLinkChrLine, cmdOk);
    setTabOrder(cmdOk, cmdNo);
    txtUsrID->setFocus();

    connect(cmdOk, &QPushButton::clicked, this, &frmLink::cmdOk_Click);
    connect(cmdNo, &QPushButton::clicked, this, &frmLink::cmdNo_Click);
}

qint16 frmLink::LinkSet(QString& LinkChrID, QString& LinkChrPass, QString& LinkChrLine) {
    // Owned by the main window it is opened from, so that it stays above it.
    frmLink dialog(classic::MainForm());
    dialog.Form_Load();
    dialog.txtUsrID->setText(LinkChrID);
    dialog.txtPasswd->setText(LinkChrPass);
    dialog.txtLinkChrLine->setText(LinkChrLine);

    // A close that slipped in while the OK steps let events run rejects the dialog: only an
    // accepted, validated OK counts.
    const bool confirmed = dialog.exec() == QDialog::Accepted && dialog.mOkFlg == -1;
    if (!confirmed)
        return 0;
    LinkChrID = dialog.txtUsrID->text();
    LinkChrPass = dialog.txtPasswd->text();
    LinkChrLine = dialog.txtLinkChrLine->text();
    return -1;
}

void frmLink::Form_Load() {
    centre::CentreOverMainForm(*this);
    if (const QWidget* main = classic::MainForm())
        setWindowIcon(main->windowIcon());
    mWindowRect = classic::GetWindowRect(this);
    mStartRect = shifted(classic::Mirror(mWindowRect), -kStartShiftX, -kStartShiftY);
    classic::DrawAnimatedRects(this, classic::IDANI_CAPTION, mStartRect, mWindowRect);
}

bool frmLink::ExternalUserId(const QString& userId) {
    return userid::ReadLeading(userId).kind == userid::UserId::External;
}

void frmLink::cmdOk_Click() {
    const int style = classic::vbOKOnly | classic::vbExclamation;
    if (txtUsrID->text().isEmpty()) {
        classic::MsgBox(QStringLiteral("ユーザ名を指定してください。"), style, classic::ExeName());
        txtUsrID->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Refused here, before any round trip: the binding would refuse it too.
    if (userid::ReadLeading(txtUsrID->text()).kind == userid::UserId::Refused) {
        classic::MsgBox(userid::RefusalText(), style, classic::ExeName());
        txtUsrID->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool external = ExternalUserId(txtUsrID->text());
    if (!external && txtPasswd->text().isEmpty()) {
        classic::MsgBox(QStringLiteral("パスワードを指定してください。"), style,
                        classic::ExeName());
        txtPasswd->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!external && txtLinkChrLine->text().isEmpty()) {
        classic::MsgBox(QStringLiteral("接続文字列を指定してください。\r\n"), style,
                        classic::ExeName());
        txtLinkChrLine->setFocus(Qt::OtherFocusReason);
        return;
    }
    mOkFlg = -1;
    lblMessage->setText(QStringLiteral("Oracleに接続中･･････"));
    classic::DoEvents();
    // The events just run may have closed the dialog already; that stays a cancel.
    if (isVisible())
        accept();
}

void frmLink::cmdNo_Click() {
    mOkFlg = 0;
    reject();
}

void frmLink::txt_GotFocus(QLineEdit* box) {
    box->selectAll();
}

void frmLink::txt_KeyDown(QLineEdit* box, qint16 KeyCode) {
    if (KeyCode != classic::vbKeyReturn)
        return;
    if (box == txtUsrID)
        txtPasswd->setFocus(Qt::OtherFocusReason);
    else if (box == txtPasswd)
        txtLinkChrLine->setFocus(Qt::OtherFocusReason);
    else
        cmdOk_Click();
}

bool frmLink::eventFilter(QObject* watched, QEvent* event) {
    if (QCompleter* hosts = txtLinkChrLine->completer();
        hosts && watched == hosts->popup() && event->type() == QEvent::KeyPress &&
        classic::KeyCodeOf(static_cast<QKeyEvent*>(event)) == classic::vbKeyReturn) {
        // The box already holds the choice the arrow keys moved to, if any.
        hosts->popup()->hide();
        txt_KeyDown(txtLinkChrLine, classic::vbKeyReturn);
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        txt_GotFocus(box);
        mSelectedByMouse =
            static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason ? box : nullptr;
        break;
    case QEvent::FocusOut:
        mSelectedByMouse = nullptr;
        break;
    case QEvent::MouseButtonPress:
        if (box == mSelectedByMouse) {
            // This press gave the focus; let it not move the cursor over the selection.
            mSelectedByMouse = nullptr;
            return true;
        }
        break;
    case QEvent::KeyPress: {
        // Either Enter key, whatever Shift, Ctrl and Alt are doing.
        const qint16 code = classic::KeyCodeOf(static_cast<QKeyEvent*>(event));
        if (code == classic::vbKeyReturn) {
            txt_KeyDown(box, code);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmLink::keyPressEvent(QKeyEvent* event) {
    // Esc presses the cancel button, whatever has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdNo->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
