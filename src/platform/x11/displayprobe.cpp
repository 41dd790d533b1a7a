// The display check on Linux desktops: an X server asked through libxcb, as Qt's xcb plugin
// will ask it, or a Wayland compositor's socket.
#include "platform/displayprobe.h"

#include <QByteArray>
#include <QByteArrayList>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace platform {

namespace {

QString noneSet() {
    return QStringLiteral("no X11 or Wayland display is set (DISPLAY, WAYLAND_DISPLAY)");
}

QString quoted(const char* kind, const QByteArray& name) {
    return QStringLiteral("%1 display \"%2\"")
        .arg(QLatin1StringView(kind), QString::fromLocal8Bit(name));
}

// Runs call with standard error going into a pipe, and returns what was written there. The
// pipe never blocks the writer; what does not fit is dropped.
template <typename F> QByteArray keepingStandardError(F call) {
    int ends[2];
    const int saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (saved < 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (saved >= 0)
            ::close(saved);
        call();
        return {};
    }
    ::dup2(ends[1], STDERR_FILENO);
    ::close(ends[1]);
    call();
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    QByteArray kept;
    char buffer[512];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        kept.append(buffer, n);
    ::close(ends[0]);
    return kept;
}

// The X server's own words for turning a client away; libxcb writes them to standard error.
QString refusal(const QByteArray& said) {
    const QString words = QString::fromLocal8Bit(said).simplified();
    const bool authorization = words.contains(QStringLiteral("authoriz"), Qt::CaseInsensitive) ||
                               words.contains(QStringLiteral("cookie"), Qt::CaseInsensitive);
    return QStringLiteral("%1 (%2)").arg(
        authorization ? QStringLiteral("authorization refused") : QStringLiteral("refused"), words);
}

QByteArray xDisplay(const WindowTarget& target) {
    return target.display.isEmpty() ? qgetenv("DISPLAY") : target.display.toLocal8Bit();
}

// The connection of the last question that was answered, until Qt has its own.
xcb_connection_t* kept = nullptr;

std::optional<DisplayProblem> x11Problem(const QByteArray& name) {
    if (name.isEmpty())
        return DisplayProblem{QString(), noneSet()};
    int error = 0;
    QByteArray said;
    // A server that is resetting, as one does when its last client has left, closes the
    // connections it has just accepted, without a word: ask again a few times before calling
    // it unreachable.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            ::usleep(100'000);
        said = keepingStandardError([&] {
            xcb_connection_t* c = xcb_connect(name.constData(), nullptr);
            error = xcb_connection_has_error(c);
            if (error) {
                xcb_disconnect(c);
            } else {
                CloseProbe();
                kept = c;
            }
        });
        if (error != XCB_CONN_ERROR || !said.trimmed().isEmpty())
            break;
    }
    QString reason;
    switch (error) {
    case 0:
        return std::nullopt;
    case XCB_CONN_ERROR:
        // Only a server that was reached has words for the refusal.
        reason = said.trimmed().isEmpty() ? QStringLiteral("unreachable") : refusal(said);
        break;
    case XCB_CONN_CLOSED_PARSE_ERR:
        reason = QStringLiteral("not a display name");
        break;
    case XCB_CONN_CLOSED_INVALID_SCREEN:
        reason = QStringLiteral("no such screen");
        break;
    default:
        reason = QStringLiteral("the connection failed (xcb error %1)").arg(error);
    }
    return DisplayProblem{quoted("X", name), reason};
}

// A local socket; a name starting with a NUL byte is in the abstract namespace.
bool localSocketAnswers(const QByteArray& path) {
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) > sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return connected;
}

// WAYLAND_SOCKET is a connection already made; WAYLAND_DISPLAY names a socket in
// XDG_RUNTIME_DIR (wayland-0 when unset) or gives its path.
std::optional<DisplayProblem> waylandProblem() {
    if (!qgetenv("WAYLAND_SOCKET").isEmpty())
        return std::nullopt;
    const QByteArray named = qgetenv("WAYLAND_DISPLAY");
    const QByteArray name = named.isEmpty() ? QByteArrayLiteral("wayland-0") : named;
    const QByteArray path = name.startsWith('/') ? name : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    if (localSocketAnswers(path))
        return std::nullopt;
    if (named.isEmpty())
        return DisplayProblem{QString(), noneSet()};
    return DisplayProblem{quoted("Wayland", named), QStringLiteral("unreachable")};
}

// The platforms Qt will try in turn: those named, each maybe with ":options", or its own
// choice among the desktops present.
QByteArrayList platformsTried(const WindowTarget& target) {
    QByteArray chosen = target.platform.toLocal8Bit();
    if (chosen.isEmpty())
        chosen = qgetenv("QT_QPA_PLATFORM");
    if (chosen.isEmpty()) {
        if (!qgetenv("WAYLAND_DISPLAY").isEmpty() || qgetenv("XDG_SESSION_TYPE") == "wayland")
            return {"wayland", "xcb"};
        return {"xcb", "wayland"};
    }
    QByteArrayList names;
    for (const QByteArray& entry : chosen.split(';'))
        names << entry.split(':').constFirst();
    return names;
}

} // namespace

std::optional<DisplayProblem> ProbeDisplay(const WindowTarget& target) {
    std::optional<DisplayProblem> first;
    for (const QByteArray& platform : platformsTried(target)) {
        std::optional<DisplayProblem> problem;
        if (platform.startsWith("xcb"))
            problem = x11Problem(xDisplay(target));
        else if (platform.startsWith("wayland"))
            problem = waylandProblem();
        else
            return std::nullopt; // needs no display, or Qt judges it itself
        if (!problem)
            return std::nullopt;
        if (!first || first->where.isEmpty())
            first = problem;
    }
    return first;
}

void CloseProbe() {
    if (kept)
        xcb_disconnect(kept);
    kept = nullptr;
}

QString DisplayName(const WindowTarget& target) {
    if (const QByteArray x = xDisplay(target); !x.isEmpty())
        return quoted("X", x);
    if (const QByteArray wayland = qgetenv("WAYLAND_DISPLAY"); !wayland.isEmpty())
        return quoted("Wayland", wayland);
    return QString();
}

} // namespace platform
