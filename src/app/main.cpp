// Quovix: open the window, run start-up, then frames until the player leaves.
#include <cstdio>

#include "app/frame.h"
#include "app/window.h"
#include "assets/startup.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    // lines reach a pipe or file as they are printed, not only at exit
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // the models and pictures are read while the window library loads the GL driver
    int width, height;
    if (platform_screen_size(&width, &height))
        read_files_ahead(width, height);
    bool opened = open_window(&argc, argv);
    platform_let_go_of_display();
    if (!opened)
        return 1;
    run_startup();
    run_main_loop();
    return 0;
}
