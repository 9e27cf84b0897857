// The display's size, asked of the X server directly: the answer the window
// library gives for full screen, before the window library is started. And the
// window's names for the desktop and its swap interval, which the window library does not set.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/x_display.h"

// Held open until the window is: a server whose last client leaves resets, and
// would turn the window library's connection away while it does.
static Display* held;
// The window library's display: with another, the window would be another server's.
static const char* display_name;

void platform_use_display(const char* name) { display_name = name; }

const char* platform_display_name() { return XDisplayName(display_name); }

Display* platform_open_display() { return XOpenDisplay(display_name); }

bool platform_screen_size(int* width, int* height) {
    if (!held)
        held = platform_open_display();
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
static Display* window_display(uintptr_t window) { return !window ? nullptr : held ? held : platform_open_display(); }

// On the server before the window library maps the window on its own connection.
static void send_to_window(Display* dpy) {
    XSync(dpy, False);
    if (dpy != held)
        XCloseDisplay(dpy);
}

void platform_name_window(uintptr_t window, const char* instance, const char* class_name, const uint32_t* icon,
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

uintptr_t platform_current_window() { return glXGetCurrentDrawable(); }

static bool offers(const char* extensions, const char* name) {
    size_t length = strlen(name);
    for (const char* p = extensions; p && (p = strstr(p, name)); p += length)
        if ((p == extensions || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0'))
            return true;
    return false;
}

static void* lookup(const char* name) { return (void*)glXGetProcAddressARB((const GLubyte*)name); }

bool platform_set_swap_interval(int refreshes) {
    Display*    display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable || refreshes < 1)
        return false;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    typedef void (*ext_interval_fn)(Display*, GLXDrawable, int);
    typedef int (*mesa_interval_fn)(unsigned);
    typedef int (*sgi_interval_fn)(int);
    if (offers(extensions, "GLX_EXT_swap_control")) {
        if (auto set = (ext_interval_fn)lookup("glXSwapIntervalEXT")) {
            set(display, drawable, refreshes);
            return true;
        }
    }
    if (offers(extensions, "GLX_MESA_swap_control")) {
        if (auto set = (mesa_interval_fn)lookup("glXSwapIntervalMESA"))
            return set((unsigned)refreshes) == 0;
    }
    if (offers(extensions, "GLX_SGI_swap_control")) {
        if (auto set = (sgi_interval_fn)lookup("glXSwapIntervalSGI"))
            return set(refreshes) == 0;
    }
    return false;
}
