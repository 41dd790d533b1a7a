#include "login/plaintextbox.h"

#include "platform/inputmethod.h"

PlainTextBox::PlainTextBox(InputMethod inputMethod, QWidget* parent)
    : QLineEdit(parent), mInputMethod(inputMethod) {
    setAttribute(Qt::WA_InputMethodEnabled, inputMethod != InputMethod::Disabled);
    setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

QVariant PlainTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled && mInputMethod == InputMethod::Disabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void PlainTextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (mInputMethod == InputMethod::OffOnFocus)
        platform::SwitchInputMethodOff(this);
}
