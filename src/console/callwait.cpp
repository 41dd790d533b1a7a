#include "console/callwait.h"

#include "classic/pendinginput.h"
#include "console/panelstatusbar.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <vector>

namespace callwait {

namespace {

// Stops the input on its way while a call runs; Esc, pressed, ends the wait.
class InputGate final : public QObject {
public:
    Q_DISABLE_COPY_MOVE(InputGate)
    explicit InputGate(std::function<void()> onEsc) : mOnEsc(std::move(onEsc)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (!classic::IsInputEvent(event->type()))
            return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            mOnEsc();
        return true;
    }

private:
    std::function<void()> mOnEsc;
};

std::vector<ora::PendingCall*>& waits() {
    static std::vector<ora::PendingCall*> inProgress;
    return inProgress;
}

} // namespace

OnEsc GivesUp() {
    return [](ora::PendingCall& call) { call.abandon(); };
}

void Wait(ora::PendingCall& call, PanelStatusBar* bar, const OnEsc& onEsc, int limitMs) {
    // Woken from the call's thread; the dispatcher's wake-up is safe from any thread.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    call.setWake([dispatcher] { dispatcher->wakeUp(); });
    InputGate gate([&] { onEsc(call); });
    QCoreApplication::instance()->installEventFilter(&gate);
    waits().push_back(&call);

    // A call that answers at once shows nothing; one that keeps the user waiting says how to
    // stop waiting.
    const QPointer<PanelStatusBar> notice(bar);
    std::optional<QString> shownBefore;
    QTimer slow;
    slow.setSingleShot(true);
    QObject::connect(&slow, &QTimer::timeout, &slow, [&] {
        if (!notice)
            return;
        shownBefore = notice->noticeText();
        notice->setNoticeText(QStringLiteral("Escｷｰで待機を中止します"));
    });
    slow.start(1000);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &limit, [&call] { call.abandon(); });
    if (limitMs >= 0)
        limit.start(limitMs);

    // Events are let run rather than a nested event loop: the program may have been asked to
    // quit meanwhile, which ends every loop at once, and the call still has to come back.
    while (!call.finished() && !call.abandoned())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);

    limit.stop();
    slow.stop();
    std::erase(waits(), &call);
    QCoreApplication::instance()->removeEventFilter(&gate);
    call.setWake(nullptr);
    if (shownBefore && notice)
        notice->setNoticeText(*shownBefore);
    // Input that reached the queue after the last round of the loop goes the same way.
    classic::DiscardPendingInput();
}

bool InProgress() {
    return !waits().empty();
}

void Wait(ora::Connection& connection, const ora::Connection::Call& call, PanelStatusBar* bar,
          bool escGivesUp) {
    Wait(*call.pending, bar,
         escGivesUp ? GivesUp() : OnEsc([&](ora::PendingCall&) { connection.interrupt(call); }));
    connection.finish(call);
}

void AbandonAll() {
    for (ora::PendingCall* call : std::vector<ora::PendingCall*>(waits()))
        call->abandon();
}

} // namespace callwait
