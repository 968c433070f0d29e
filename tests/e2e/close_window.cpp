// Asks a window to close the way a window manager's close button does: a WM_PROTOCOLS
// client message carrying WM_DELETE_WINDOW, sent to the window itself.
//
// Usage: close_window WINDOW_ID (decimal or 0x-prefixed hexadecimal), on the display in DISPLAY.

#include <X11/Xlib.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool failed = false;

// Xlib's default handler ends the process with its own status; record the error instead.
int recordError(Display*, XErrorEvent* error) {
    failed = true;
    std::fprintf(stderr, "close_window: X error %d\n", error->error_code);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: close_window WINDOW_ID\n");
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long id = std::strtoul(argv[1], &end, 0);
    if (errno != 0 || argv[1][0] == '-' || end == argv[1] || *end != '\0' || id == 0) {
        std::fprintf(stderr, "close_window: not a window id: %s\n", argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "close_window: cannot open display\n");
        return 1;
    }
    XSetErrorHandler(recordError);

    const Window window = id;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    // The round trip makes an error for a window that does not exist arrive before we exit.
    XSync(display, False);
    XCloseDisplay(display);
    if (sent == 0 || failed) {
        std::fprintf(stderr, "close_window: could not send to window 0x%lx\n", id);
        return 1;
    }
    return 0;
}
