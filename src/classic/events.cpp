#include "classic/events.h"

#include <QCoreApplication>

namespace classic {
namespace {
bool& ending() {
    static bool flag = false;
    return flag;
}
} // namespace

void DoEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void EndProgram() {
    ending() = true;
    QCoreApplication::exit(0);
}

bool ProgramEnding() {
    return ending();
}
} // namespace classic
