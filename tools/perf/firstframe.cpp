// Starts a program under X and reports, from outside, how long it took until
// its window was mapped with a caption beginning with a given text and its
// client area showed the board colour (192, 192, 255): the first frame. Then
// ends the program and reports its peak resident memory and the processor
// time it used (user and system), which the other work on a shared machine
// inflates far less than the wall time.
//
// Where the X server has the Damage extension (and the watcher was built with
// it), it also reports the first damage to that window after it was mapped:
// the moment the first frame reached the server, whatever its colours.
//
// The processor time is read twice: when the first frame is on the screen
// (frame_cpu_ms, from the scheduler's nanosecond counts of the program's
// threads, at the first damage where there is one), and when the program has
// been ended (cpu_ms, which also holds whatever it did after that frame until
// the watcher saw it and ended it).
//
//   perf_firstframe 'Плитар ' -- build/app/plitar
// prints: ms=<milliseconds> maxrss_kb=<kilobytes> cpu_ms=<milliseconds>
//         sys_ms=<of it, in the kernel> frame_cpu_ms=<milliseconds>
//         faults=<page faults> [damage_ms=<milliseconds>]
// Exit status 3 when the program ended before drawing (for the game: another
// copy was running), 4 on a timeout.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#ifdef PERF_DAMAGE
#include <X11/extensions/Xdamage.h>
#endif
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::string title(Display* d, Window w)
{
    const Atom name = XInternAtom(d, "_NET_WM_NAME", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string out;
    if (XGetWindowProperty(d, w, name, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data) {
        out.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return out;
}

// True when one of a few points of the lower client area shows the board colour.
bool drawn(Display* d, Window w)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
        return false;
    for (int i = 1; i <= 5; ++i) {
        const int x = a.width * i / 6, y = a.height - 4;
        XImage* img = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img)
            continue;
        const unsigned long p = XGetPixel(img, 0, 0);
        XDestroyImage(img);
        if ((p & 0xffffff) == 0xc0c0ff)
            return true;
    }
    return false;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// The processor time of every live thread of `pid` so far, in ms: the first
// field of each thread's schedstat, in nanoseconds. A thread that has ended
// is no longer counted; the game and the floor end none before their frame.
double threadTimeMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    double ns = 0;
    while (const dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        if (FILE* f = std::fopen((tasks + "/" + e->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long run = 0;
            if (std::fscanf(f, "%llu", &run) == 1)
                ns += static_cast<double>(run);
            std::fclose(f);
        }
    }
    closedir(dir);
    return ns / 1e6;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 4 || std::strcmp(argv[2], "--") != 0) {
        std::fprintf(stderr, "usage: %s TITLE-PREFIX -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string prefix = argv[1];
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
#ifdef PERF_DAMAGE
    // Every new top-level window is watched for damage as soon as it exists,
    // so that nothing drawn after its mapping can come before the watch.
    int damageEvents = 0, damageErrors = 0;
    const bool damage = XDamageQueryExtension(d, &damageEvents, &damageErrors);
#endif
    XSync(d, False);

    const double start = now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    Window found = 0;
    double shown = -1, damaged = -1, frameCpu = -1;
    int status = 0;
    while (now() - start < 20000) {
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type == MapNotify && !found && title(d, ev.xmap.window).rfind(prefix, 0) == 0)
                found = ev.xmap.window;
#ifdef PERF_DAMAGE
            if (damage && ev.type == CreateNotify && ev.xcreatewindow.parent == root)
                XDamageCreate(d, ev.xcreatewindow.window, XDamageReportRawRectangles);
            if (damage && ev.type == damageEvents + XDamageNotify && found && damaged < 0 &&
                reinterpret_cast<XDamageNotifyEvent*>(&ev)->drawable == found) {
                damaged = now() - start;
                frameCpu = threadTimeMs(child);
            }
#endif
        }
        // The server sends the damage before it answers the pixel query that
        // finds the frame, so the loop goes round once more for the events.
        if (shown >= 0)
            break;
        if (found && drawn(d, found)) {
            shown = now() - start;
            if (frameCpu < 0)
                frameCpu = threadTimeMs(child);
        }
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "the program ended before drawing\n");
            return 3;
        }
        // Wake for the next event at once (the first damage is timed as it
        // comes), and look at the pixels every half millisecond.
        pollfd x{ConnectionNumber(d), POLLIN, 0};
        const timespec halfMs{0, 500000};
        ppoll(&x, 1, &halfMs, nullptr);
    }
    kill(child, SIGTERM);
    rusage use{};
    wait4(child, &status, 0, &use);
    if (shown < 0) {
        std::fprintf(stderr, "no frame within 20 s\n");
        return 4;
    }
    const double cpu = static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
                       static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
    const double sys = static_cast<double>(use.ru_stime.tv_sec) * 1e3 + static_cast<double>(use.ru_stime.tv_usec) / 1e3;
    std::printf("ms=%.1f maxrss_kb=%ld cpu_ms=%.1f sys_ms=%.1f frame_cpu_ms=%.1f faults=%ld", shown, use.ru_maxrss,
                cpu, sys, frameCpu, use.ru_minflt + use.ru_majflt);
    if (damaged >= 0)
        std::printf(" damage_ms=%.1f", damaged);
    std::printf("\n");
    return 0;
}
