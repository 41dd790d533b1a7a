#include "testsupport.h"

#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "classic/zoom.h"
#include "classic/zoom_hook.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace testsupport {
void initWindowTests() {
    // Settings the windows remember go to a fresh folder of this test process, so that
    // neither the user's settings nor those of a test running beside it change the run.
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // Windows keeps them in the registry, which no folder redirects: there each test process
    // starts them empty, and the tests take turns (in a Wine prefix of their own).
    QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom")).clear();
    platform::InstallFontSubstitutions();
    classic::MsgBoxHook::enable();
    classic::MsgBoxHook::clear();
    classic::ZoomHook::enable();
    classic::ZoomHook::clear();
}

QStringList strings(std::initializer_list<const char*> utf8) {
    QStringList out;
    for (const char* s : utf8)
        out << QString::fromUtf8(s);
    return out;
}

void runModal(const std::function<void()>& open, const std::function<void(QDialog&)>& script,
              const char* what) {
    bool ran = false;
    // Looks for the window each time events run, until it is up; the timer ends with this
    // call, so a window that never opened leaves nothing behind to fire later.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        poll.stop();
        ran = true;
        if (!QTest::qWaitForWindowActive(window))
            qWarning("the %s did not become active", what);
        script(*window);
        if (window->isVisible())
            window->close();
    });
    poll.start();
    open();
    if (!ran)
        QTest::qFail(qPrintable(QStringLiteral("the %1 never opened").arg(QLatin1StringView(what))),
                     __FILE__, __LINE__);
}

QStringList messageTexts() {
    QStringList out;
    for (const classic::MsgBoxRecord& r : classic::MsgBoxHook::log())
        out << r.text;
    return out;
}
} // namespace testsupport
