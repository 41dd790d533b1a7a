#include "console/printablelinevalidator.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace {
bool dropped(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate: // half of a pair, alone
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// The positions where the characters a user sees begin, and the end.
QList<qsizetype> characterStarts(const QString& text) {
    QList<qsizetype> starts{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0)
        starts.append(finder.position());
    return starts;
}
} // namespace

PrintableLineValidator::PrintableLineValidator(int maxCharacters, QObject* parent)
    : QValidator(parent), mMaxCharacters(maxCharacters) {}

QValidator::State PrintableLineValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int cursor = pos;
    for (qsizetype i = 0; i < input.size();) {
        // A code point: a whole surrogate pair, or one unit.
        const bool pair =
            i + 1 < input.size() && input[i].isHighSurrogate() && input[i + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const char32_t c =
            pair ? QChar::surrogateToUcs4(input[i], input[i + 1]) : input[i].unicode();
        if (!dropped(c))
            kept += QStringView(input).mid(i, units);
        else if (i < pos)
            cursor -= static_cast<int>(std::min<qsizetype>(units, pos - i));
        i += units;
    }
    const QList<qsizetype> starts = characterStarts(kept);
    const qsizetype over = starts.size() - 1 - mMaxCharacters;
    if (over > 0) {
        // What came in last ends at the cursor: the characters just before it go, as many as
        // are too many (those after it when the cursor is too near the start).
        qsizetype end = 0;
        while (end + 1 < starts.size() && starts[end] < cursor)
            ++end;
        const qsizetype first = std::max<qsizetype>(end - over, 0);
        const qsizetype last = first + over;
        kept.remove(starts[first], starts[last] - starts[first]);
        cursor = static_cast<int>(starts[first]);
    }
    if (kept != input) {
        input = kept;
        pos = cursor;
    }
    return Acceptable;
}
