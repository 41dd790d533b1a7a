#pragma once

#include <QValidator>

// Keeps a line edit to one line of printable text of at most `maxCharacters` characters as the
// user sees them (a surrogate pair or a letter with its marks counts once and is never split):
// control characters (NUL, CR, LF, TAB...), invisible format characters (U+200B, U+202E,
// U+FEFF...), halves of surrogate pairs and line or paragraph separators that arrive by paste,
// drop or an input method are dropped; what goes beyond the limit is cut where it came in, as
// a line edit's own maximum length does. The rest is kept as it came. The box's maxLength,
// which counts UTF-16 units, must stay above the limit.
class PrintableLineValidator final : public QValidator {
public:
    Q_DISABLE_COPY_MOVE(PrintableLineValidator)
    PrintableLineValidator(int maxCharacters, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int mMaxCharacters;
};
