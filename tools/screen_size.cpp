// quovix-screen: prints the screen's size as WIDTHxHEIGHT, the name of the
// picture set the game looks for; one line and status 1 when there is no display.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main() {
    const char* name = getenv("DISPLAY");
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        fprintf(stderr, "quovix: cannot open the display \"%s\": start the game from a desktop session\n",
                name ? name : "");
        return 1;
    }
    // the size the game's window library reports for full screen
    int screen = DefaultScreen(dpy);
    printf("%dx%d\n", DisplayWidth(dpy, screen), DisplayHeight(dpy, screen));
    XCloseDisplay(dpy);
    return 0;
}
