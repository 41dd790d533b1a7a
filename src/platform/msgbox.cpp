#include "msgbox.h"

#include "mainform.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace platform {

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

int MsgBox(const QString& text, int style, const QString& title) {
    const MsgBoxRecord record{text, title.isEmpty() ? AppTitle() : title, style};
    HookState& h = hook();
    if (h.enabled) {
        h.log.append(record);
        if (h.onShow)
            return h.onShow(record);
        return h.answers.isEmpty() ? defaultAnswer(style) : h.answers.takeFirst();
    }

    // Over the main window when there is one, as an owned dialog is.
    QWidget* owner = MainForm();
    QMessageBox box(owner && owner->isVisible() ? owner : nullptr);
    box.setWindowTitle(record.title);
    // Lines are joined with CR LF; a bare CR would show as a glyph in a Qt label.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    const int icon = style & 0xF0;
    if (icon == vbExclamation)
        box.setIcon(QMessageBox::Warning);
    else if (icon == vbInformation)
        box.setIcon(QMessageBox::Information);
    if ((style & 0x0F) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return vbOK;
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

} // namespace platform
