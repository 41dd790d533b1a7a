#include "kestromfixture.h"

#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "oracle/connection.h"
#include "platform/computername.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTimer>

namespace testsupport {

KestromFixture::KestromFixture(Login login)
    : db(fakeoracle::install()), window(std::make_unique<Kestrom>()) {
    classic::MsgBoxHook::clear();
    if (login == Login::realDialog)
        return;
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
    // A logoff the window left running in the background ends before the next test changes
    // what it talks to.
    ora::WaitForClientCalls(10000);
    fakeoracle::reset();
    classic::MsgBoxHook::clear();
}

void KestromFixture::open(const QList<LoginAnswer>& script) {
    answers = script;
    window->Form_Load();
    activate();
}

void KestromFixture::openConnected() {
    open({login()});
}

void KestromFixture::choose(const char* menuItem, std::source_location where) {
    QAction* item = find<QAction>(menuItem, where);
    if (!item->isEnabled()) {
        fail(QStringLiteral("the menu item %1 is disabled").arg(QLatin1StringView(menuItem)),
             where);
        return;
    }
    item->trigger();
}

void KestromFixture::fail(const QString& what, const std::source_location& where) {
    QTest::qFail(qPrintable(what), where.file_name(), static_cast<int>(where.line()));
}

void KestromFixture::typeMachine(const QString& name) {
    QLineEdit* box = machineBox();
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, name);
}

void KestromFixture::activate() {
    // Offscreen windows become active only when asked; focus and shortcuts need an active
    // window, and another window shown and hidden meanwhile (the search banner) leaves none.
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
}

QPoint KestromFixture::rowCentre(int row) {
    // A user clicks once the grid shows what the program last wrote, in the active window.
    QCoreApplication::processEvents();
    activate();
    SessionGrid* g = grid();
    return g->visualRect(g->model()->index(row - 1, 0)).center();
}

void KestromFixture::clickRow(int row) {
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rowCentre(row));
}

void KestromFixture::doubleClickRow(int row) {
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, rowCentre(row));
}

void KestromFixture::contextMenu(int row, Qt::Key key, const std::function<void(QMenu&)>& inspect,
                                 std::source_location where) {
    bool shown = false;
    // Polled: the window may wait for the server before the menu opens.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, window.get(), [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        shown = true;
        if (inspect)
            inspect(*menu);
        QTest::keyClick(menu, key);
        if (menu->isVisible())
            menu->close();
    });
    poll.start(10);
    // A right click, and the context-menu request the window system makes of it.
    const QPoint at = rowCentre(row);
    SessionGrid* g = grid();
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, g->viewport()->mapToGlobal(at));
    QApplication::sendEvent(g->viewport(), &request);
    poll.stop();
    if (!shown)
        fail(QStringLiteral("no context menu opened over row %1").arg(row), where);
}

QString KestromFixture::thisComputer() {
    QString name;
    return platform::GetComputerName(name) ? name : QStringLiteral("????????");
}

} // namespace testsupport
