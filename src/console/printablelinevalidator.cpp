#include "console/printablelinevalidator.h"

namespace {
bool dropped(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}
} // namespace

QValidator::State PrintableLineValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int cursor = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!dropped(input[i]))
            kept += input[i];
        else if (i < pos)
            --cursor;
    }
    if (kept.size() != input.size()) {
        input = kept;
        pos = cursor;
    }
    return Acceptable;
}
