#pragma once

#include <QMargins>
#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>

class QWidget;

// The few things the windows need from the X window system and its window manager that Qt
// does not offer. Each does nothing (or answers "none") when the program does not run on X11.
namespace platform::x11 {

// The frame the window manager will put around a top-level window that it has not framed
// yet, asked for with _NET_REQUEST_FRAME_EXTENTS. Waits at most timeoutMs for the answer;
// none without a window manager that offers it, or when it does not answer in time.
std::optional<QMargins> RequestFrameExtents(const QWidget* window, int timeoutMs);

// The running window manager's own name ("Openbox"), empty when there is none.
QString WindowManagerName();

// Declares the window's types, most wanted first; to be set before the window is shown.
void SetWindowTypes(const QWidget* window, std::initializer_list<const char*> types);

// Sends what has been drawn and asked for to the display now.
void Flush();

// Calls `handler` whenever the window manager asks the window to close (WM_DELETE_WINDOW),
// before Qt sees the request; when the handler returns true, Qt does not see it at all.
void WatchCloseRequests(QWidget* window, std::function<bool()> handler);

} // namespace platform::x11
