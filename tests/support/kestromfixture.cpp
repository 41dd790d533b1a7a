#include "kestromfixture.h"

#include "platform/computername.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QTest>

namespace testsupport {

KestromFixture::KestromFixture() : db(fakeoracle::install()), window(std::make_unique<Kestrom>()) {
    platform::MsgBoxHook::clear();
    window->setLoginPrompt([this](QString& id, QString& pass, QString& host) -> qint16 {
        prompts << QStringList{id, pass, host};
        if (answers.isEmpty() || !answers.front().confirm) {
            if (!answers.isEmpty())
                answers.removeFirst();
            return 0;
        }
        const LoginAnswer a = answers.takeFirst();
        id = a.id;
        pass = a.pass;
        host = a.host;
        return -1;
    });
}

KestromFixture::~KestromFixture() {
    window.reset();
    fakeoracle::reset();
    platform::MsgBoxHook::clear();
}

void KestromFixture::open(const QList<LoginAnswer>& script) {
    answers = script;
    window->Form_Load();
    // Offscreen windows become active only when asked; focus checks need an active window.
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
}

void KestromFixture::openConnected() {
    open({login()});
}

QString KestromFixture::thisComputer() {
    QString name;
    return platform::GetComputerName(name) ? name : QStringLiteral("????????");
}

} // namespace testsupport
