// quovix-screen: prints the size the game will draw at as WIDTHxHEIGHT, the name
// of the picture set it looks for: the screen's, or the window's the game's own
// options ask for. One line and status 1 when there is no display, the game's
// own line and status 2 for options it would refuse.
#include <cstdio>

#include "app/options.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    options_t options;
    parse_options(&argc, argv, &options);
    if (options.launch == LAUNCH_BAD)
        return answer_options(options, stdout, stderr);
    int width = 0, height = 0;
    platform_use_display(options.display);
    if (!platform_screen_size(&width, &height)) {
        fprintf(stderr, "quovix: cannot open the display \"%s\": start the game from a desktop session\n",
                platform_display_name());
        return 1;
    }
    platform_let_go_of_display();
    if (options.window_width)
        printf("%dx%d\n", options.window_width, options.window_height);
    else
        printf("%dx%d\n", width, height);
    return 0;
}
