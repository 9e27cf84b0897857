// The display's size, asked of the X server directly: the answer the window
// library gives for full screen, before the window library is started.
#include <X11/Xlib.h>

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
