// Helper of the end-to-end test of starts under X: watches the root window as
// a launcher and a window manager do and prints, one a line,
//   info TEXT                  a startup notification message, put together
//                              from its 20-byte pieces
//   active SOURCE TIME         a request to activate a window
// after a first line "ready". Runs until killed.
//   e2e_startup_watch
#include <X11/Xlib.h>

#include <cstdio>
#include <map>
#include <string>

int main()
{
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::puts("FAIL no display");
        return 1;
    }
    const Window root = DefaultRootWindow(d);
    const Atom begin = XInternAtom(d, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom more = XInternAtom(d, "_NET_STARTUP_INFO", False);
    const Atom active = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
    // Startup messages go to the root with PropertyChangeMask; activation
    // requests with SubstructureRedirect|SubstructureNotify, of which the
    // window manager holds the first.
    XSelectInput(d, root, PropertyChangeMask | SubstructureNotifyMask);
    XSync(d, False);
    std::puts("ready");
    std::fflush(stdout);

    std::map<Window, std::string> pending;  // a message being put together, by its sender's window
    for (;;) {
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type != ClientMessage)
            continue;
        const XClientMessageEvent& m = ev.xclient;
        if (m.message_type == active) {
            std::printf("active %ld %ld\n", m.data.l[0], m.data.l[1]);
        } else if ((m.message_type == begin || m.message_type == more) && m.format == 8) {
            std::string& text = pending[m.window];
            if (m.message_type == begin)
                text.clear();
            for (int i = 0; i < 20; ++i) {
                if (m.data.b[i] == '\0') {
                    std::printf("info %s\n", text.c_str());
                    pending.erase(m.window);
                    break;
                }
                text += m.data.b[i];
            }
        }
        std::fflush(stdout);
    }
}
