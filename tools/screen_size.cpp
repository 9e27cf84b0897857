// quovix-screen: prints the screen's size as WIDTHxHEIGHT, the name of the
// picture set the game looks for; one line and status 1 when there is no display.
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

int main() {
    int width = 0, height = 0;
    if (!platform_screen_size(&width, &height)) {
        const char* name = getenv("DISPLAY");
        fprintf(stderr, "quovix: cannot open the display \"%s\": start the game from a desktop session\n",
                name ? name : "");
        return 1;
    }
    printf("%dx%d\n", width, height);
    platform_let_go_of_display();
    return 0;
}
