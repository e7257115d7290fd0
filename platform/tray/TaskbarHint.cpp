#include "TaskbarHint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Replies from xcb are malloc'ed and freed by the caller.
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
XcbReply<Reply> TakeReply(Reply *reply)
{
    return XcbReply<Reply>(reply, &std::free);
}

xcb_connection_t *X11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

struct Atoms {
    xcb_atom_t state = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
};

Atoms InternAtoms(xcb_connection_t *connection)
{
    auto intern = [connection](const char *name) {
        return xcb_intern_atom(connection, false, static_cast<uint16_t>(std::strlen(name)), name);
    };
    const xcb_intern_atom_cookie_t state = intern("_NET_WM_STATE");
    const xcb_intern_atom_cookie_t skip = intern("_NET_WM_STATE_SKIP_TASKBAR");
    Atoms atoms;
    if (auto reply = TakeReply(xcb_intern_atom_reply(connection, state, nullptr)))
        atoms.state = reply->atom;
    if (auto reply = TakeReply(xcb_intern_atom_reply(connection, skip, nullptr)))
        atoms.skipTaskbar = reply->atom;
    return atoms;
}

// Before the window is mapped the state is the window's own property: the
// window manager reads it when it takes the window on, and Qt merges its own
// states into it when it maps the window.
void WriteStateProperty(xcb_connection_t *connection, xcb_window_t window, const Atoms &atoms,
                        bool skip)
{
    std::vector<xcb_atom_t> states;
    const auto cookie =
        xcb_get_property(connection, false, window, atoms.state, XCB_ATOM_ATOM, 0, 1024);
    if (auto reply = TakeReply(xcb_get_property_reply(connection, cookie, nullptr))) {
        if (reply->type == XCB_ATOM_ATOM && reply->format == 32) {
            const auto *values = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
            states.assign(values, values + reply->value_len);
        }
    }
    std::erase(states, atoms.skipTaskbar);
    if (skip)
        states.push_back(atoms.skipTaskbar);
    if (states.empty())
        xcb_delete_property(connection, window, atoms.state);
    else
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.state, XCB_ATOM_ATOM,
                            32, static_cast<uint32_t>(states.size()), states.data());
}

// While the window is mapped the window manager owns the state: ask it for
// the change with a client message to the root window.
void SendStateMessage(xcb_connection_t *connection, xcb_window_t window, const Atoms &atoms,
                      bool skip)
{
    const auto geometry =
        TakeReply(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return;
    constexpr uint32_t Remove = 0, Add = 1, FromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atoms.state;
    message.data.data32[0] = skip ? Add : Remove;
    message.data.data32[1] = atoms.skipTaskbar;
    message.data.data32[2] = 0;
    message.data.data32[3] = FromApplication;
    xcb_send_event(connection, false, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
}

}  // namespace

void SetSkipTaskbar(QWidget *window, bool skip)
{
    xcb_connection_t *connection = X11Connection();
    QWindow *handle = window->windowHandle();
    if (!connection || !handle)
        return;
    const Atoms atoms = InternAtoms(connection);
    if (atoms.state == XCB_ATOM_NONE || atoms.skipTaskbar == XCB_ATOM_NONE)
        return;
    const auto id = static_cast<xcb_window_t>(handle->winId());
    // Qt asks for the mapping after the widget's show event, so during it the
    // native window is not visible yet.
    if (handle->isVisible())
        SendStateMessage(connection, id, atoms, skip);
    else
        WriteStateProperty(connection, id, atoms, skip);
    xcb_flush(connection);
}

TaskbarHint::TaskbarHint(QWidget *window) : QObject(window), FWindow(window)
{
    FWindow->installEventFilter(this);
}

void TaskbarHint::SetSkipTaskbar(bool skip)
{
    FSkip = skip;
    ::SetSkipTaskbar(FWindow, FSkip);
}

bool TaskbarHint::SkipTaskbar() const
{
    return FSkip;
}

bool TaskbarHint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FWindow && event->type() == QEvent::Show)
        ::SetSkipTaskbar(FWindow, FSkip);
    return QObject::eventFilter(watched, event);
}
