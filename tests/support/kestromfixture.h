#pragma once

#include "console/kestrom.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "fakeoracle.h"

#include <QAction>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <source_location>
#include <vector>

namespace testsupport {

// A main window whose login dialog is scripted: each answer either cancels or confirms with
// the given values. The prompt records the values it was opened with.
struct LoginAnswer {
    bool confirm = false;
    QString id, pass, host;
};

// Tests act on the window as its user does, through its controls found by their names, and
// read what it shows there. What a user could not do (a control that does not exist, a menu
// item that is disabled) fails the current test, at the line that asked for it.
struct KestromFixture {
    // How the login dialog is answered: from the script, or by the test typing into the real
    // dialog.
    enum class Login { scripted, realDialog };

    std::shared_ptr<fakeoracle::Instance> db;
    std::unique_ptr<Kestrom> window;
    QList<LoginAnswer> answers;
    QList<QStringList> prompts; // values shown in each login dialog

    explicit KestromFixture(Login login = Login::scripted);
    ~KestromFixture();
    // Runs the opening sequence with the scripted answers.
    void open(const QList<LoginAnswer>& script);
    // Opens and connects as system/pelmora@ORCL.
    void openConnected();
    void setScript(const QList<LoginAnswer>& script) { answers = script; }

    // A control of the window by its name. A missing one fails the current test and is
    // replaced by a stray control of that kind, so that the test runs to its end and the
    // others still run.
    template <typename T>
    T* find(const char* name, std::source_location where = std::source_location::current()) const {
        if (T* found = window->findChild<T*>(QString::fromLatin1(name)))
            return found;
        fail(QStringLiteral("the main window has no %1").arg(QLatin1StringView(name)), where);
        auto* stray = new T;
        strays.emplace_back(stray);
        return stray;
    }
    SessionGrid* grid() const { return find<SessionGrid>("MSFlexGrid1"); }
    QLineEdit* machineBox() const { return find<QLineEdit>("txtPcName"); }
    // The text of a status bar panel (1: connection state, 2: login, 3: clock).
    QString panel(int n) const { return find<PanelStatusBar>("sbStatusBar")->panelText(n); }
    bool showsConnected() const { return panel(1) == QStringLiteral("- DB接続中 -"); }

    // Makes the window the active one, as a user's click on it does.
    void activate();
    void click(const char* button, std::source_location where = std::source_location::current()) {
        QTest::mouseClick(find<QPushButton>(button, where), Qt::LeftButton);
    }
    // Chooses a menu item; one that is missing or disabled fails the current test instead.
    void choose(const char* menuItem, std::source_location where = std::source_location::current());
    // Replaces the machine name in the box by typing it.
    void typeMachine(const QString& name);
    // Types the machine name and clicks the search button.
    void search(const QString& name) {
        typeMachine(name);
        click("cmdSearch");
    }
    // Clicks, double-clicks a data row of the grid (1 is the first).
    void clickRow(int row);
    void doubleClickRow(int row);
    // Opens the grid's context menu over a data row (1 is the first) with a right click, hands
    // it to `inspect`, then presses `key` in it (Qt::Key_Escape closes it). A menu that does not
    // open fails the current test.
    void contextMenu(int row, Qt::Key key, const std::function<void(QMenu&)>& inspect = {},
                     std::source_location where = std::source_location::current());

    // The name the window finds for this computer.
    static QString thisComputer();
    static LoginAnswer cancel() { return {}; }
    static LoginAnswer login(const QString& id = QStringLiteral("system"),
                             const QString& pass = QStringLiteral("pelmora"),
                             const QString& host = QStringLiteral("ORCL")) {
        return {true, id, pass, host};
    }

private:
    QPoint rowCentre(int row);
    static void fail(const QString& what, const std::source_location& where);
    mutable std::vector<std::unique_ptr<QObject>> strays;
};

} // namespace testsupport
