// A separate process for the start-up tests.
//   instance_probe start       runs the start-up window's load with message boxes answered
//                              through the hook, and prints what happened
//   instance_probe hold PATH   takes the instance lock at PATH and waits to be killed
#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "platform/instance_internal.h"
#include "start/frmstart.h"

#include <QApplication>
#include <QThread>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QStringLiteral("hold") && argc > 2) {
        if (platform::PrevInstanceAt(QString::fromLocal8Bit(argv[2])))
            return 2;
        std::puts("holding");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(1);
    }
    classic::MsgBoxHook::enable();
    auto* start = new FrmStart;
    bool opened = false;
    start->setMainOpener([&opened] { opened = true; });
    const bool loaded = start->Form_Load();
    for (const classic::MsgBoxRecord& box : classic::MsgBoxHook::log())
        std::printf("box|%s|%s|%d\n", box.text.toUtf8().constData(), box.title.toUtf8().constData(),
                    box.style);
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool visible =
        std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
    std::printf("loaded=%d visible=%d\n", loaded ? 1 : 0, visible ? 1 : 0);
    delete start;
    return opened ? 3 : 0;
}
