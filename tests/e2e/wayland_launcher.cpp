// The launcher's part in the Wayland tests: a small client with a window of
// its own that holds the focus, as a launcher or a terminal does when the user
// starts a program from it. It gives the seat a keyboard (a headless seat has
// none) through the virtual-keyboard protocol, presses a key on itself and
// asks the compositor for an activation token with that key's serial and its
// surface: the token a launcher would hand to the program it starts. Where
// the compositor has no virtual keyboards (mutter), the key comes from
// elsewhere (the test presses it through the compositor's own remote input)
// and the launcher waits for it.
//
//   wayland_launcher           reads commands from standard input, one a line:
//                              "token" prints a fresh token (or "FAIL ..."),
//                              "focus" prints "focused" or "unfocused",
//                              "front" shows the window anew, which takes the
//                              focus where the compositor gives it to a new
//                              window, and prints "focused" or "FAIL ...",
//                              end of input ends it
//   wayland_launcher globals   prints the compositor's globals and ends
#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "virtual-keyboard-unstable-v1-client.h"
#include "xdg-activation-v1-client.h"
#include "xdg-shell-client.h"

namespace {

struct Launcher {
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    xdg_wm_base* shell = nullptr;
    xdg_activation_v1* activation = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
    bool listGlobals = false;

    wl_keyboard* keyboard = nullptr;
    zwp_virtual_keyboard_v1* virtualKeyboard = nullptr;
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wl_buffer* buffer = nullptr;
    bool configured = false;
    bool focused = false;
    bool hasKeyboard = false;
    uint32_t keySerial = 0;
    bool keySeen = false;
    std::string token;
    bool tokenDone = false;
};

// --- listeners ----------------------------------------------------------------

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    auto* l = static_cast<Launcher*>(data);
    if (l->listGlobals)
        std::printf("%s %u\n", interface, version);
    const auto is = [interface](const wl_interface& i) { return std::strcmp(interface, i.name) == 0; };
    const auto bind = [&](const wl_interface& i, uint32_t v) {
        return wl_registry_bind(registry, name, &i, std::min(version, v));
    };
    if (is(wl_compositor_interface))
        l->compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 4));
    else if (is(wl_shm_interface))
        l->shm = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
    else if (is(wl_seat_interface) && !l->seat)
        l->seat = static_cast<wl_seat*>(bind(wl_seat_interface, 5));
    else if (is(xdg_wm_base_interface))
        l->shell = static_cast<xdg_wm_base*>(bind(xdg_wm_base_interface, 1));
    else if (is(xdg_activation_v1_interface))
        l->activation = static_cast<xdg_activation_v1*>(bind(xdg_activation_v1_interface, 1));
    else if (is(zwp_virtual_keyboard_manager_v1_interface))
        l->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(bind(zwp_virtual_keyboard_manager_v1_interface, 1));
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onCapabilities(void* data, wl_seat*, uint32_t caps)
{
    static_cast<Launcher*>(data)->hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
}
void onSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener{onCapabilities, onSeatName};

void onKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }
void onEnter(void* data, wl_keyboard*, uint32_t, wl_surface* s, wl_array*)
{
    auto* l = static_cast<Launcher*>(data);
    l->focused = s == l->surface;
}
void onLeave(void* data, wl_keyboard*, uint32_t, wl_surface*) { static_cast<Launcher*>(data)->focused = false; }
void onKey(void* data, wl_keyboard*, uint32_t serial, uint32_t, uint32_t, uint32_t state)
{
    auto* l = static_cast<Launcher*>(data);
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
        l->keySerial = serial;
        l->keySeen = true;
    }
}
void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener keyboardListener{onKeymap, onEnter, onLeave, onKey, onModifiers, onRepeatInfo};

void onPing(void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener shellListener{onPing};

void onSurfaceConfigure(void* data, xdg_surface* s, uint32_t serial)
{
    xdg_surface_ack_configure(s, serial);
    static_cast<Launcher*>(data)->configured = true;
}
const xdg_surface_listener surfaceListener{onSurfaceConfigure};

void onToplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {}
void onToplevelClose(void*, xdg_toplevel*) {}
void onToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void onToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener{onToplevelConfigure, onToplevelClose, onToplevelBounds,
                                             onToplevelCapabilities};

void onTokenDone(void* data, xdg_activation_token_v1*, const char* token)
{
    auto* l = static_cast<Launcher*>(data);
    l->token = token;
    l->tokenDone = true;
}
const xdg_activation_token_v1_listener tokenListener{onTokenDone};

// --- steps --------------------------------------------------------------------

// Round trips until the condition holds, for up to about five seconds.
template <typename Condition>
bool waitFor(Launcher& l, Condition done)
{
    for (int i = 0; i < 100 && !done(); ++i) {
        if (wl_display_roundtrip(l.display) < 0)
            return false;
        if (!done())
            usleep(50000);
    }
    return done();
}

int sharedMemory(size_t size)
{
    const int fd = memfd_create("wayland-launcher", MFD_CLOEXEC);
    if (fd >= 0 && ftruncate(fd, static_cast<off_t>(size)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A keyboard for the seat, with the default layout's keymap.
bool addKeyboard(Launcher& l)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    bool ok = false;
    if (text) {
        const size_t size = std::strlen(text) + 1;
        const int fd = sharedMemory(size);
        if (fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size)) {
            l.virtualKeyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(l.keyboards, l.seat);
            zwp_virtual_keyboard_v1_keymap(l.virtualKeyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           static_cast<uint32_t>(size));
            ok = true;
        }
        if (fd >= 0)
            close(fd);
    }
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return ok && waitFor(l, [&] { return l.hasKeyboard; });
}

// A plain window, which the compositor shows and gives the focus.
bool showWindow(Launcher& l)
{
    l.surface = wl_compositor_create_surface(l.compositor);
    l.xdgSurface = xdg_wm_base_get_xdg_surface(l.shell, l.surface);
    xdg_surface_add_listener(l.xdgSurface, &surfaceListener, &l);
    l.toplevel = xdg_surface_get_toplevel(l.xdgSurface);
    xdg_toplevel_add_listener(l.toplevel, &toplevelListener, &l);
    xdg_toplevel_set_app_id(l.toplevel, "plitar-e2e-launcher");
    xdg_toplevel_set_title(l.toplevel, "launcher");
    wl_surface_commit(l.surface);
    if (!waitFor(l, [&] { return l.configured; }))
        return false;

    constexpr int w = 200, h = 100, stride = w * 4;
    const int fd = sharedMemory(stride * h);
    if (fd < 0)
        return false;
    void* pixels = mmap(nullptr, stride * h, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    auto* p = static_cast<uint32_t*>(pixels);
    for (int i = 0; i < w * h; ++i)
        p[i] = 0xff3060a0;
    munmap(pixels, stride * h);
    wl_shm_pool* pool = wl_shm_create_pool(l.shm, fd, stride * h);
    l.buffer = wl_shm_pool_create_buffer(pool, 0, w, h, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_surface_attach(l.surface, l.buffer, 0, 0);
    wl_surface_damage(l.surface, 0, 0, w, h);
    wl_surface_commit(l.surface);
    return true;
}

// The window shown anew: a compositor without a way to move the focus from
// outside gives it to a new window.
std::string showAgain(Launcher& l)
{
    xdg_toplevel_destroy(l.toplevel);
    xdg_surface_destroy(l.xdgSurface);
    wl_surface_destroy(l.surface);
    wl_buffer_destroy(l.buffer);
    l.focused = l.configured = false;
    if (!showWindow(l))
        return "FAIL the launcher's window was not shown again";
    return waitFor(l, [&] { return l.focused; }) ? "focused" : "FAIL the launcher's new window got no focus";
}

// A key press and release on the focused window, and a token asked for with
// the press's serial, as a launcher does when the user starts a program.
// Without a virtual keyboard of its own it takes a key pressed from elsewhere
// since the last token, waiting for one if none came yet.
std::string newToken(Launcher& l)
{
    if (!waitFor(l, [&] { return l.focused; }))
        return "FAIL the launcher's window has no keyboard focus";
    if (l.virtualKeyboard) {
        l.keySeen = false;
        zwp_virtual_keyboard_v1_key(l.virtualKeyboard, 1000, KEY_SPACE, WL_KEYBOARD_KEY_STATE_PRESSED);
        zwp_virtual_keyboard_v1_key(l.virtualKeyboard, 1010, KEY_SPACE, WL_KEYBOARD_KEY_STATE_RELEASED);
    }
    if (!waitFor(l, [&] { return l.keySeen; }))
        return "FAIL no key reached the launcher's window";
    l.keySeen = false;
    l.tokenDone = false;
    xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(l.activation);
    xdg_activation_token_v1_add_listener(token, &tokenListener, &l);
    xdg_activation_token_v1_set_serial(token, l.keySerial, l.seat);
    xdg_activation_token_v1_set_surface(token, l.surface);
    xdg_activation_token_v1_commit(token);
    const bool done = waitFor(l, [&] { return l.tokenDone; });
    xdg_activation_token_v1_destroy(token);
    return done ? l.token : "FAIL the compositor gave no token";
}

}  // namespace

int main(int argc, char** argv)
{
    Launcher l;
    l.listGlobals = argc > 1 && std::string(argv[1]) == "globals";
    l.display = wl_display_connect(nullptr);
    if (!l.display) {
        std::puts("FAIL no Wayland display");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(l.display);
    wl_registry_add_listener(registry, &registryListener, &l);
    wl_display_roundtrip(l.display);
    if (l.listGlobals)
        return 0;
    if (!l.compositor || !l.shm || !l.seat || !l.shell || !l.activation) {
        std::puts("FAIL the compositor lacks a global the launcher needs");
        return 1;
    }
    wl_seat_add_listener(l.seat, &seatListener, &l);
    xdg_wm_base_add_listener(l.shell, &shellListener, &l);
    wl_display_roundtrip(l.display);
    // Without virtual keyboards the seat's keyboard is one made elsewhere.
    if (l.keyboards ? !addKeyboard(l) : !waitFor(l, [&] { return l.hasKeyboard; })) {
        std::puts("FAIL the seat got no keyboard");
        return 1;
    }
    l.keyboard = wl_seat_get_keyboard(l.seat);
    wl_keyboard_add_listener(l.keyboard, &keyboardListener, &l);
    if (!showWindow(l)) {
        std::puts("FAIL the launcher's window was not shown");
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);

    // Serves the compositor (pings) while it waits for the next command.
    pollfd fds[2] = {{wl_display_get_fd(l.display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string line;
    for (;;) {
        wl_display_flush(l.display);
        if (poll(fds, 2, -1) < 0)
            return 1;
        if (fds[0].revents & POLLIN && wl_display_dispatch(l.display) < 0)
            return 1;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            if (!std::getline(std::cin, line))
                return 0;
            if (line == "token")
                std::puts(newToken(l).c_str());
            else if (line == "focus")
                std::puts(wl_display_roundtrip(l.display) >= 0 && l.focused ? "focused" : "unfocused");
            else if (line == "front")
                std::puts(showAgain(l).c_str());
            std::fflush(stdout);
        }
    }
}
