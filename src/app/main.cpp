// Quovix: open the window, run start-up, then frames until the player leaves.
#include <cstdio>

#include "app/frame.h"
#include "app/window.h"

int main(int argc, char** argv) {
    // lines reach a pipe or file as they are printed, not only at exit
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!open_window(&argc, argv))
        return 1;
    run_startup();
    run_main_loop();
    return 0;
}
