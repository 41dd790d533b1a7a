#pragma once

#include <QLineEdit>

// A text box that takes no input method: the user ID, password and host string must be plain
// letters, and kana or full-width letters typed through a Japanese IME only make the login
// fail. Qt's input contexts (the Windows IME, IBus, Fcitx) ask the focused widget whether it
// accepts input methods and switch them off when it does not; a line edit answers from its
// enabled and read-only state alone, whatever its attributes say, so the answer is given here.
class PlainTextBox final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlainTextBox)
public:
    explicit PlainTextBox(QWidget* parent = nullptr);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};
