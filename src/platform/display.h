#pragma once

#include <QString>

namespace platform {

// The window system Qt is to open the windows on, as the command line names it with Qt's own
// options -platform and -display; empty where the environment decides (QT_QPA_PLATFORM,
// DISPLAY, WAYLAND_DISPLAY).
struct WindowTarget {
    QString platform;
    QString display;
};

// Guards the making of the application object, which opens the display. The constructor asks
// the window system whether it takes a connection now; from then until opened(), a platform
// plugin that gives up (Qt would abort and suggest reinstalling) ends the program with exit
// code 1 instead, also when the display went away after the question. Either way one line on
// standard error names the display and the reason, and nothing else is printed.
class DisplayGuard final {
public:
    explicit DisplayGuard(const WindowTarget& target);
    ~DisplayGuard();
    Q_DISABLE_COPY_MOVE(DisplayGuard)

    // False when no window can be opened; the reason has been printed.
    bool reachable() const { return mReachable; }
    // The application object exists: Qt's messages go their usual way again, with those that
    // came while it was being made.
    void opened();

private:
    bool mReachable = false;
    bool mGuarding = false;
};

} // namespace platform
