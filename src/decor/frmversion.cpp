#include "decor/frmversion.h"

#include "classic/mainform.h"
#include "classic/twips.h"
#include "classic/zoom.h"
#include "decor/centre.h"
#include "decor/svgpicture.h"
#include "decor/version.h"
#include "platform/dialogflags.h"

#include <QApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QWidget* makePicture(QWidget* parent) {
    auto* picture = new SvgPicture(QStringLiteral(":/art/version_logo.svg"), parent);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setFocusPolicy(Qt::TabFocus);
    picture->setAutoFillBackground(true);
    QPalette pal = picture->palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    picture->setPalette(pal);
    classic::SetControlRectTwips(picture, QRectF(0, 0, 2895, 1095));
    return picture;
}

QPlainTextEdit* makeText(QWidget* parent) {
    auto* text = new QPlainTextEdit(parent);
    text->setObjectName(QStringLiteral("Text1"));
    text->setReadOnly(true);
    // The two lines fit; the empty line after the last CR LF should not bring a scroll bar.
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A CR shows as a glyph in a Qt text box; the lines are shown with LF alone.
    QString shown = frmVersion::VersionText();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text->setPlainText(shown);
    QPalette pal = text->palette();
    pal.setColor(QPalette::Base, QApplication::palette("QMenu").color(QPalette::Window));
    text->setPalette(pal);
    classic::SetControlRectTwips(text, QRectF(0, 960, 2870, 680));
    return text;
}

} // namespace

QString frmVersion::VersionText() {
    return QStringLiteral("Tarnwick Kestrom\r\nVersion : " KESTROM_VERSION_TEXT "\r\n");
}

frmVersion::frmVersion(QWidget* parent) : QDialog(parent, platform::FixedDialogFlags) {
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(QStringLiteral("☆　ﾊﾞｰｼﾞｮﾝ情報  (Tarnwick Kestrom)"));
    setFixedSize(classic::TwipsToPixelsX(2850), classic::TwipsToPixelsY(2235));
    // The window carries no icon; an empty icon would fall back to the program's own.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));

    Picture1 = makePicture(this);
    Text1 = makeText(this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    classic::SetControlRectTwips(Command1, QRectF(800, 1730, 1335, 375));
    connect(Command1, &QPushButton::clicked, this, &frmVersion::Command1_Click);

    setTabOrder(Command1, Picture1);
    setTabOrder(Picture1, Text1);
    Command1->setFocus();
    platform::OfferOnlyCloseBox(this);
}

void frmVersion::Form_Load() {
    mCursor = classic::GetCursorPos();
    centre::CentreOverMainForm(*this);
    mToRect = classic::GetWindowRect(this);
    mFromRect = classic::CursorRect(mCursor);
    classic::DrawAnimatedRects(this, classic::IDANI_CAPTION, mFromRect, mToRect);
}

void frmVersion::Form_QueryUnload() {
    mCursor = classic::GetCursorPos();
    mFromRect = classic::GetWindowRect(this);
    mToRect = classic::CursorRect(mCursor);
    classic::DrawAnimatedRects(this, classic::IDANI_CAPTION, mFromRect, mToRect);
}

void frmVersion::Command1_Click() {
    close();
}

// OK, Enter, Esc and the close box all end here, so the closing zoom plays once for each.
void frmVersion::done(int result) {
    if (!mUnloading) {
        mUnloading = true;
        Form_QueryUnload();
    }
    QDialog::done(result);
}

void frmVersion::ShowModal() {
    // Owned by the main window it is opened from, so that it stays above it.
    frmVersion window(classic::MainForm());
    window.Form_Load();
    window.exec();
}
