#pragma once

#include <QLineEdit>

// A text box for plain letters: the user ID, password and host string, where kana or
// full-width letters typed through a Japanese IME only make the login fail. Qt's input contexts
// (the Windows IME, IBus, Fcitx) ask the focused widget whether it accepts input methods; a
// line edit answers from its enabled and read-only state alone, whatever its attributes say,
// so the answer is given here.
class PlainTextBox final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlainTextBox)
public:
    enum class InputMethod {
        OffOnFocus, // switched off when the box gets the focus; the user may switch it on
        Disabled,   // never available
    };
    explicit PlainTextBox(InputMethod inputMethod, QWidget* parent = nullptr);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    InputMethod mInputMethod;
};
