#include "platform/x11/xcb.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(KESTROM_HAVE_XCB) && QT_CONFIG(xcb)
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <qguiapplication_platform.h>
#include <vector>
#include <xcb/xcb.h>

namespace platform::x11 {

namespace {

// The X event a native event filter was given, when it is of the kind asked for; else null.
template <typename Event>
const Event* XEventOf(const QByteArray& type, void* message, uint8_t kind) {
    if (type != "xcb_generic_event_t")
        return nullptr;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != kind)
        return nullptr;
    return static_cast<const Event*>(message);
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* connection() {
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

xcb_window_t root(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                         xcb_atom_t type, uint32_t length) {
    return Reply<xcb_get_property_reply_t>(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, length), nullptr));
}

bool supportedByWindowManager(xcb_connection_t* c, xcb_atom_t wanted) {
    const auto reply = property(c, root(c), atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

// Answering _NET_REQUEST_FRAME_EXTENTS, a window manager may tell the unmapped window that it
// lies at the screen's origin (Openbox does, with a synthetic ConfigureNotify), which Qt would
// take for its position. That one message is dropped; it is told apart from the real ones
// because it comes before the window manager has reparented the window (a real, non-synthetic
// ConfigureNotify).
class FakeConfigureFilter final : public QAbstractNativeEventFilter {
public:
    FakeConfigureFilter() = default;
    Q_DISABLE_COPY_MOVE(FakeConfigureFilter)
    void expect(xcb_window_t window) {
        if (!mInstalled) {
            QCoreApplication::instance()->installNativeEventFilter(this);
            mInstalled = true;
        }
        ++mPending[window];
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const auto* configure =
            XEventOf<xcb_configure_notify_event_t>(type, message, XCB_CONFIGURE_NOTIFY);
        if (!configure)
            return false;
        const auto pending = mPending.find(configure->window);
        if (pending == mPending.end())
            return false;
        if ((configure->response_type & 0x80) == 0) {
            // Reparented: what follows is real.
            mPending.erase(pending);
            return false;
        }
        if (--*pending == 0)
            mPending.erase(pending);
        return true;
    }

private:
    QHash<xcb_window_t, int> mPending; // fake answers still to come, per window
    bool mInstalled = false;
};

FakeConfigureFilter& fakeConfigureFilter() {
    static FakeConfigureFilter filter;
    return filter;
}

// The window's _NET_FRAME_EXTENTS property (left, right, top, bottom), once the window manager
// has set it.
std::optional<QMargins> frameExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name) {
    const auto reply = property(c, window, name, XCB_ATOM_CARDINAL, 4);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                    static_cast<int>(v[3]));
}

// The window's X id, created now if need be. Giving a window an id must not give one to every
// widget of its owner window too, which Qt does unless told not to.
xcb_window_t windowId(const QWidget* window) {
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    return static_cast<xcb_window_t>(window->winId());
}

// Windows the window manager never frames.
bool unframed(const QWidget* window) {
    const Qt::WindowFlags flags = window->windowFlags();
    return flags.testAnyFlags(Qt::FramelessWindowHint | Qt::BypassWindowManagerHint) ||
           window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip;
}

// Owned by the window it watches, and so installed exactly as long as the window lives.
class CloseRequestFilter final : public QObject, public QAbstractNativeEventFilter {
public:
    Q_DISABLE_COPY_MOVE(CloseRequestFilter)
    CloseRequestFilter(QWidget* owner, xcb_window_t window, xcb_atom_t protocols,
                       xcb_atom_t deleteWindow, std::function<bool()> handler)
        : QObject(owner), mWindow(window), mProtocols(protocols), mDelete(deleteWindow),
          mHandler(std::move(handler)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const auto* client =
            XEventOf<xcb_client_message_event_t>(type, message, XCB_CLIENT_MESSAGE);
        if (!client || client->window != mWindow || client->type != mProtocols ||
            client->format != 32 || client->data.data32[0] != mDelete)
            return false;
        return mHandler();
    }

private:
    xcb_window_t mWindow;
    xcb_atom_t mProtocols;
    xcb_atom_t mDelete;
    std::function<bool()> mHandler;
};

} // namespace

std::optional<QMargins> RequestFrameExtents(const QWidget* window, int timeoutMs) {
    xcb_connection_t* c = connection();
    if (!c || unframed(window))
        return std::nullopt;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (!supportedByWindowManager(c, request))
        return std::nullopt;
    const xcb_window_t id = windowId(window);
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    std::optional<QMargins> answer = frameExtents(c, id, extents);
    if (!answer) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = request;
        fakeConfigureFilter().expect(id);
        xcb_send_event(c, 0, root(c),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(c);
        // The answer is a property on the window; polling it keeps Qt's event queue untouched.
        const QDeadlineTimer deadline(timeoutMs);
        while (!(answer = frameExtents(c, id, extents)) && !deadline.hasExpired())
            QThread::msleep(1);
    }
    return answer;
}

QString WindowManagerName() {
    xcb_connection_t* c = connection();
    if (!c)
        return QString();
    const auto check =
        property(c, root(c), atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 1);
    if (!check || check->format != 32 || xcb_get_property_value_length(check.get()) != 4)
        return QString();
    const xcb_window_t wm = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
    const auto name = property(c, wm, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 256);
    if (!name || name->format != 8)
        return QString();
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(name.get())),
                             xcb_get_property_value_length(name.get()));
}

void SetWindowTypes(const QWidget* window, std::initializer_list<const char*> types) {
    xcb_connection_t* c = connection();
    if (!c)
        return;
    std::vector<xcb_atom_t> atoms;
    for (const char* type : types)
        atoms.push_back(atom(c, type));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, windowId(window), atom(c, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, static_cast<uint32_t>(atoms.size()), atoms.data());
}

void Flush() {
    if (xcb_connection_t* c = connection())
        xcb_flush(c);
}

void WatchCloseRequests(QWidget* window, std::function<bool()> handler) {
    xcb_connection_t* c = connection();
    if (!c)
        return;
    new CloseRequestFilter(window, windowId(window), atom(c, "WM_PROTOCOLS"),
                           atom(c, "WM_DELETE_WINDOW"), std::move(handler));
}

} // namespace platform::x11

#else

namespace platform::x11 {
std::optional<QMargins> RequestFrameExtents(const QWidget*, int) {
    return std::nullopt;
}
QString WindowManagerName() {
    return QString();
}
void SetWindowTypes(const QWidget*, std::initializer_list<const char*>) {}
void Flush() {}
void WatchCloseRequests(QWidget*, std::function<bool()>) {}
} // namespace platform::x11

#endif
