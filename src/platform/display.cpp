// The display's size, asked of the X server directly: the answer the window
// library gives for full screen, before the window library is started. And the
// window's names for the desktop, which the window library does not set.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <vector>

#include "platform/platform.h"

// Held open until the window is: a server whose last client leaves resets, and
// would turn the window library's connection away while it does.
static Display* held;

bool platform_screen_size(int* width, int* height) {
    if (!held)
        held = XOpenDisplay(nullptr);
    if (!held)
        return false;
    int screen = DefaultScreen(held);
    *width = DisplayWidth(held, screen);
    *height = DisplayHeight(held, screen);
    return true;
}

void platform_let_go_of_display() {
    if (held)
        XCloseDisplay(held);
    held = nullptr;
}

// Properties set through a connection of the game's own: the window library's is
// not reachable, and the server applies them to the window all the same.
static Display* window_display(unsigned long window) { return !window ? nullptr : held ? held : XOpenDisplay(nullptr); }

// On the server before the window library maps the window on its own connection.
static void send_to_window(Display* dpy) {
    XSync(dpy, False);
    if (dpy != held)
        XCloseDisplay(dpy);
}

void platform_name_window(unsigned long window, const char* instance, const char* class_name, const uint32_t* icon,
                          size_t icon_count) {
    Display* dpy = window_display(window);
    if (!dpy)
        return;
    XClassHint hint = {(char*)instance, (char*)class_name};
    XSetClassHint(dpy, window, &hint);
    if (icon_count) {
        // Xlib sends 32-bit property items from an array of longs
        std::vector<unsigned long> items(icon, icon + icon_count);
        Atom                       net_wm_icon = XInternAtom(dpy, "_NET_WM_ICON", False);
        XChangeProperty(dpy, window, net_wm_icon, XA_CARDINAL, 32, PropModeReplace, (unsigned char*)items.data(),
                        (int)items.size());
    }
    send_to_window(dpy);
}

// The window library's size and place hints are kept; the smallest and largest size are added.
void platform_hold_window_size(unsigned long window, int width, int height) {
    Display* dpy = window_display(window);
    if (!dpy)
        return;
    XSizeHints hints = {};
    long       given = 0;
    if (!XGetWMNormalHints(dpy, window, &hints, &given))
        hints.flags = 0;
    hints.flags |= PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(dpy, window, &hints);
    send_to_window(dpy);
}
