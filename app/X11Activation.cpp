#include "app/X11Activation.h"

#include <QGuiApplication>
#include <QWidget>
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
}  // namespace

void activateOnX11(QWidget* window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->windowHandle())
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
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
        ev.data.data32[1] = XCB_CURRENT_TIME;
        ev.data.data32[2] = XCB_WINDOW_NONE;
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&ev));
    } else {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME);
    }
    xcb_flush(c);
}

}  // namespace plitar
