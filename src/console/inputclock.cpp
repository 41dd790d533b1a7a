#include "console/inputclock.h"

#include "classic/pendinginput.h"

#include <QCoreApplication>

InputClock::InputClock(QObject* parent) : QObject(parent) {
    mLast.start();
    QCoreApplication::instance()->installEventFilter(this);
}

InputClock::~InputClock() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool InputClock::eventFilter(QObject*, QEvent* event) {
    // Composing text with an input method is typing too.
    if (classic::IsInputEvent(event->type()) || event->type() == QEvent::InputMethod)
        mLast.restart();
    return false;
}
