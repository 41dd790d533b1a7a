#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"

#include "classic/events.h"
#include "classic/mainform.h"
#include "platform/dialogflags.h"
#include "platform/topmost.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace classic {

namespace {
struct HookState {
    bool enabled = false;
    QList<int> answers;
    QList<MsgBoxRecord> log;
    std::function<int(const MsgBoxRecord&)> onShow;
};
HookState& hook() {
    static HookState state;
    return state;
}

int defaultAnswer(int style) {
    return (style & 0x0F) == vbYesNo ? vbNo : vbOK;
}
} // namespace

QString AppTitle() {
    return QStringLiteral("Kestrom");
}

QString ExeName() {
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return AppTitle();
    return QFileInfo(path).completeBaseName();
}

namespace {
// The window a box is raised from: the modal window in front, else the active one, else the
// main window.
QWidget* ownerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    QWidget* main = MainForm();
    return main && main->isVisible() ? main : nullptr;
}

void hideTopMostWindows() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->isVisible() && platform::IsTopMost(w))
            w->hide();
}
} // namespace

int MsgBox(const QString& text, int style, const QString& title, const QString& detail) {
    const MsgBoxRecord record{text, title.isEmpty() ? AppTitle() : title, style, detail};
    HookState& h = hook();
    if (h.enabled) {
        h.log.append(record);
        if (h.onShow)
            return h.onShow(record);
        return h.answers.isEmpty() ? defaultAnswer(style) : h.answers.takeFirst();
    }
    if (ProgramEnding())
        return defaultAnswer(style);

    QMessageBox box(ownerWindow());
    box.setWindowTitle(record.title);
    // Lines are joined with CR LF; a bare CR would show as a glyph in a Qt label.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    const int icon = style & 0xF0;
    if (icon == vbExclamation)
        box.setIcon(QMessageBox::Warning);
    else if (icon == vbInformation)
        box.setIcon(QMessageBox::Information);
    // The buttons a Japanese desktop shows, with their access keys and without icons.
    const bool yesNo = (style & 0x0F) == vbYesNo;
    QPushButton* yes = nullptr;
    if (yesNo) {
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
    } else {
        box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    }
    platform::OfferOnlyCloseBox(&box);
    hideTopMostWindows();
    box.exec();
    if (!yesNo)
        return vbOK;
    return box.clickedButton() == yes ? vbYes : vbNo;
}

namespace MsgBoxHook {
void enable() {
    hook().enabled = true;
}
void disable() {
    hook() = HookState{};
}
void setNextAnswers(const QList<int>& answers) {
    hook().answers = answers;
}
void setOnShow(std::function<int(const MsgBoxRecord&)> handler) {
    hook().onShow = std::move(handler);
}
QList<MsgBoxRecord> log() {
    return hook().log;
}
void clear() {
    hook().log.clear();
    hook().answers.clear();
    hook().onShow = nullptr;
}
} // namespace MsgBoxHook

} // namespace classic
