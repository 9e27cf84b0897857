// Whether the game's window has the keyboard, asked of the X server: the window
// library reports no focus changes.
#include <X11/Xlib.h>

#include "platform/platform.h"
#include "platform/x_display.h"

// A connection of its own, opened at the first look and kept: one round trip a look.
static Display* asked;

// Focus on a window that holds ours, such as a window manager's frame, reaches
// ours while the pointer is over it; the root is left out: it holds every window.
static bool holds_window(Display* dpy, Window outer, Window window) {
    Window root = DefaultRootWindow(dpy);
    while (window != root && window != 0) {
        if (window == outer)
            return true;
        Window   parent = 0, top = 0;
        Window*  children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(dpy, window, &top, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        window = parent;
    }
    return false;
}

bool platform_window_has_focus(uintptr_t window) {
    if (!asked)
        asked = platform_open_display();
    if (!asked || window == 0)
        return true;
    Window focus = 0;
    int    revert = 0;
    XGetInputFocus(asked, &focus, &revert);
    // PointerRoot: the keyboard follows the pointer, over a window that fills the screen
    if (focus == (Window)window || focus == PointerRoot)
        return true;
    if (focus == None)
        return false;
    return holds_window(asked, focus, (Window)window);
}
