#pragma once

#include <QValidator>

// Keeps a line edit to one line of printable text: control characters (NUL, CR, LF, TAB...)
// and line or paragraph separators that arrive by paste, drop or an input method are dropped,
// the rest is kept as it came.
class PrintableLineValidator final : public QValidator {
public:
    Q_DISABLE_COPY_MOVE(PrintableLineValidator)
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
