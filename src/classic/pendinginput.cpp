#include "classic/pendinginput.h"

#include <QCoreApplication>
#include <QEvent>

namespace classic {
bool IsInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    // A key bound to a shortcut (F5, a menu's access key) arrives as this event instead.
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

namespace {
class InputEater final : public QObject {
public:
    InputEater() = default;
    Q_DISABLE_COPY_MOVE(InputEater)
    bool eventFilter(QObject*, QEvent* event) override { return IsInputEvent(event->type()); }
};
} // namespace

void DiscardPendingInput() {
    // The input waits in the window system's queue among the other events; it can only be
    // taken out by letting that queue run once, with the input stopped on its way.
    InputEater eater;
    QCoreApplication::instance()->installEventFilter(&eater);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(&eater);
}
} // namespace classic
