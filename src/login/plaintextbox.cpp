#include "login/plaintextbox.h"

PlainTextBox::PlainTextBox(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

QVariant PlainTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}
