#include "platform/display.h"

#include "platform/displayprobe.h"

#include <QList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

struct HeldMessage {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};

// While the application object is being made: what it is to open, the messages Qt gave
// meanwhile and the handler they are for. Qt's threads (the X event reader) may give
// messages too.
struct Opening {
    WindowTarget target;
    QList<HeldMessage> held;
    QtMessageHandler previous = nullptr;
};
Opening* opening = nullptr;
std::mutex openingMutex;

void printRefusal(const QString& where, const QString& reason) {
    QString line = QStringLiteral("kestrom: cannot open a window");
    if (!where.isEmpty())
        line += QStringLiteral(" on ") + where;
    line += QStringLiteral(": ") + reason + u'\n';
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void printRefusal(const DisplayProblem& problem) {
    printRefusal(problem.where, problem.reason);
}

// The platforms Qt was told to try, for naming them.
QString platformsNamed(const WindowTarget& target) {
    if (!target.platform.isEmpty())
        return target.platform;
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// Qt's warnings while its platform plugin starts are held back; its fatal message, which
// blames the installation, gives way to one line. The display is asked again, as it may have
// gone since the first question.
void holdOrRefuse(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(openingMutex);
    if (!opening) // the application object was made meanwhile
        return qt_message_output(type, context, text);
    if (type != QtFatalMsg) {
        opening->held.append(
            {type, context.file, context.line, context.function, context.category, text});
        return;
    }
    if (const auto problem = ProbeDisplay(opening->target)) {
        printRefusal(*problem);
    } else {
        const QString platforms = platformsNamed(opening->target);
        printRefusal(
            DisplayName(opening->target),
            QStringLiteral("no usable Qt platform plugin") +
                (platforms.isEmpty() ? QString() : QStringLiteral(" (\"%1\")").arg(platforms)));
    }
    // Qt is half way through making the application object: nothing may run any more.
    std::_Exit(1);
}

} // namespace

DisplayGuard::DisplayGuard(const WindowTarget& target) {
    if (const auto problem = ProbeDisplay(target)) {
        printRefusal(*problem);
        return;
    }
    mReachable = true;
    mGuarding = true;
    opening = new Opening{target, {}, nullptr};
    opening->previous = qInstallMessageHandler(holdOrRefuse);
}

DisplayGuard::~DisplayGuard() {
    opened();
}

void DisplayGuard::opened() {
    if (!mGuarding)
        return;
    mGuarding = false;
    CloseProbe();
    const std::lock_guard lock(openingMutex);
    qInstallMessageHandler(opening->previous);
    for (const HeldMessage& m : std::as_const(opening->held)) {
        const QMessageLogContext context(m.file, m.line, m.function, m.category);
        opening->previous(m.type, context, m.text);
    }
    delete opening;
    opening = nullptr;
}

} // namespace platform
