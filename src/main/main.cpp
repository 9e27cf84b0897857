// Quovix: read the command line, open the window, run start-up, then frames until the player leaves.
#include "app/options.h"
#include "app/settings.h"
#include "app/window.h"
#include "assets/startup.h"
#include "game/state.h"
#include "levelgen/random_world.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    platform_start_output();
    options_t options;
    parse_options(&argc, argv, &options);
    // help, version or a bad argument are answered without touching the display
    if (options.launch != LAUNCH_PLAY)
        return answer_options(options, stdout, stderr);
    game.muted = options.muted;
    platform_use_display(options.display);
    settings_load();
    // the models and pictures are read while the window library loads the GL driver
    int width, height;
    if (platform_screen_size(&width, &height)) {
        // a window of most of the screen, as the player last chose, unless the command line sized one
        if (!options.window_width && !settings.full_screen) {
            options.window_width = width * 3 / 4;
            options.window_height = height * 3 / 4;
        }
        if (options.window_width)
            read_files_ahead(options.window_width, options.window_height);
        else
            read_files_ahead(width, height);
    }
    bool opened = open_window(&argc, argv, options.window_width, options.window_height);
    platform_let_go_of_display();
    if (!opened)
        return 1;
    // the process's top plugs the generator into the picker: nothing else under app/ calls it
    random_world_plug_in();
    world_t seeded = random_world(options.seed);
    start_window_game(options.watch, options.seeded ? &seeded : nullptr);
    run_main_loop();
    return 0;
}
