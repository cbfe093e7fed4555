#include "app/X11Activation.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace plitar {

namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
}

xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t w)
{
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    const xcb_window_t root = r ? r->root : xcb_window_t{XCB_WINDOW_NONE};
    std::free(r);
    return root;
}

// Whether a window manager that follows the desktop conventions runs.
bool windowManagerRuns(xcb_connection_t* c, xcb_window_t root)
{
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = r && xcb_get_property_value_length(r) > 0;
    std::free(r);
    return runs;
}

xcb_connection_t* connectionOf(QWidget* window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->windowHandle())
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The startup notification's text form: a value with a space, a quote or a
// backslash has them escaped with a backslash.
QByteArray removeMessage(const QString& startupId)
{
    QByteArray message = "remove: ID=";
    for (const char c : startupId.toUtf8()) {
        if (c == ' ' || c == '"' || c == '\\')
            message += '\\';
        message += c;
    }
    return message;
}

// A message to the launchers listening on the root window: 20 bytes a
// client message, the first of type _NET_STARTUP_INFO_BEGIN and the rest
// _NET_STARTUP_INFO, the whole ended by a NUL byte.
void sendStartupMessage(xcb_connection_t* c, xcb_window_t root, xcb_window_t from, const QByteArray& message)
{
    const xcb_atom_t begin = atom(c, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(c, "_NET_STARTUP_INFO");
    const QByteArray bytes = message + '\0';
    for (qsizetype at = 0; at < bytes.size(); at += 20) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 8;
        ev.window = from;
        ev.type = at == 0 ? begin : more;
        std::memcpy(ev.data.data8, bytes.constData() + at, static_cast<size_t>(std::min<qsizetype>(20, bytes.size() - at)));
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&ev));
    }
}
}  // namespace

void activateOnX11(QWidget* window, uint32_t userTime)
{
    xcb_connection_t* c = connectionOf(window);
    if (!c)
        return;
    const auto w = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = rootOf(c, w);
    if (root == XCB_WINDOW_NONE)
        return;
    if (windowManagerRuns(c, root)) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = w;
        ev.type = atom(c, "_NET_ACTIVE_WINDOW");
        ev.data.data32[0] = 2;  // the request of a tool that acts for the user
        ev.data.data32[1] = userTime;
        ev.data.data32[2] = XCB_WINDOW_NONE;
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&ev));
    } else {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME);
    }
    xcb_flush(c);
}

void completeStartupOnX11(QWidget* window, const QString& startupId)
{
    xcb_connection_t* c = startupId.isEmpty() ? nullptr : connectionOf(window);
    if (!c)
        return;
    const auto w = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = rootOf(c, w);
    if (root == XCB_WINDOW_NONE)
        return;
    const QByteArray id = startupId.toUtf8();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_STARTUP_ID"), atom(c, "UTF8_STRING"), 8,
                        static_cast<uint32_t>(id.size()), id.constData());
    sendStartupMessage(c, root, w, removeMessage(startupId));
    xcb_flush(c);
}

}  // namespace plitar
