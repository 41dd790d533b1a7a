#pragma once

#include <QList>
#include <QString>
#include <functional>

// For the tests and the benchmark only: message boxes answered without a window.
namespace classic {

struct MsgBoxRecord {
    QString text;
    QString title;
    int style = 0;
    QString detail;
};

// Test hook: while enabled no message box window opens. Answers are taken from the queue;
// with the queue empty the box is answered with its default (OK, or No for Yes/No).
namespace MsgBoxHook {
void enable();
void disable();
void setNextAnswers(const QList<int>& answers);
// Called instead of answering from the queue, for tests that must act while the box is "open".
void setOnShow(std::function<int(const MsgBoxRecord&)> handler);
QList<MsgBoxRecord> log();
void clear();
} // namespace MsgBoxHook

} // namespace classic
