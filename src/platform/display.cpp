#include "platform/display.h"

#include <QByteArray>
#include <QByteArrayList>
#include <cstddef>
#include <cstring>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

bool connectsTo(const sockaddr* address, socklen_t length, int family) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, address, length) == 0;
    ::close(fd);
    return connected;
}

// A local socket; a name starting with a NUL byte is in the abstract namespace.
bool localSocketAnswers(const QByteArray& path) {
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) > sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    return connectsTo(reinterpret_cast<const sockaddr*>(&address), length, AF_UNIX);
}

bool localPortAnswers(int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo("localhost", QByteArray::number(port).constData(), &hints, &found) != 0)
        return false;
    bool connected = false;
    for (const addrinfo* a = found; a && !connected; a = a->ai_next)
        connected = connectsTo(a->ai_addr, a->ai_addrlen, a->ai_family);
    ::freeaddrinfo(found);
    return connected;
}

// DISPLAY is [protocol/][host]:number[.screen]. A local display is found as the X library
// finds it: its socket in /tmp/.X11-unix (abstract name first), then TCP on localhost.
bool x11Reachable() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return false;
    QByteArray host = display.left(colon);
    QByteArray protocol;
    if (const qsizetype slash = host.indexOf('/'); slash >= 0) {
        protocol = host.left(slash);
        host = host.mid(slash + 1);
    }
    if (!host.isEmpty() && host != "unix")
        return true;
    bool isNumber = false;
    const int number = display.mid(colon + 1).split('.').constFirst().toInt(&isNumber);
    if (!isNumber || number < 0)
        return false;
    const QByteArray socket = "/tmp/.X11-unix/X" + QByteArray::number(number);
    if (localSocketAnswers('\0' + socket) || localSocketAnswers(socket))
        return true;
    return protocol != "unix" && host.isEmpty() && localPortAnswers(6000 + number);
}

// WAYLAND_DISPLAY names a socket in XDG_RUNTIME_DIR (wayland-0 when unset) or gives its path.
bool waylandReachable() {
    if (!qgetenv("WAYLAND_SOCKET").isEmpty())
        return true;
    QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        name = "wayland-0";
    if (name.startsWith('/'))
        return localSocketAnswers(name);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && localSocketAnswers(runtime + '/' + name);
}

// QT_QPA_PLATFORM lists the platforms Qt tries, each maybe with ":options".
bool platformNeedsNoDisplay() {
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (chosen.isEmpty())
        return false;
    for (const QByteArray& entry : chosen.split(';')) {
        const QByteArray name = entry.split(':').constFirst();
        if (name.startsWith("xcb") || name.startsWith("wayland"))
            return false;
    }
    return true;
}

} // namespace

bool DisplayReachable() {
    return platformNeedsNoDisplay() || x11Reachable() || waylandReachable();
}

} // namespace platform
