// What keeping every game costs, window-free: the recorder's time a frame, and the
// records screen's listing with 50 kept games beside the play folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/keeping.h"
#include "app/recorder.h"
#include "assets/recording.h"
#include "game/paths.h"
#include "platform/platform.h"

static double now_ns() {
    return (double)std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A game's frames with a command of keys changing every few frames and a clock that jitters.
static double recorder_ns_a_frame() {
    command_t cmd{};
    cmd.focused = true;
    cmd.speed_scale = 1;
    const int frames = 1000000;
    double    start = now_ns();
    for (int i = 0; i < frames; i++) {
        cmd.held = (i / 7) % 3;
        cmd.now_ms += 16 + i % 3 / 2;
        recorder_frame(cmd);
    }
    return (now_ns() - start) / frames;
}

// The median of 21 listings, each reading the records and the folder of 50 games.
static double listing_ms() {
    std::vector<double> times;
    for (int i = 0; i < 21; i++) {
        game.requests.list_records = true;
        double start = now_ns();
        list_records_when_asked();
        times.push_back((now_ns() - start) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + 10, times.end());
    return times[10];
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <play bin folder>\n", argv[0]);
        return 2;
    }
    sim_keep_quiet(true);
    bool opened = sim_open(argv[1]) && sim_start_play();
    sim_keep_quiet(false);
    if (!opened) {
        fprintf(stderr, "the game did not start play in %s\n", argv[1]);
        return 1;
    }
    printf("recorder: %.1f ns a frame\n", recorder_ns_a_frame());
    recording_t game_kept = recorder_last();
    for (int i = 0; i < 200 && recorder_game_ended() == false; i++)
        sim_frame(HOLD_ESC);
    std::string text = recording_to_text(recorder_last()), why;
    platform_make_folder(REPLAYS_FOLDER, &why);
    for (int i = 0; i < 50; i++) {
        std::string name = std::string(REPLAYS_FOLDER) + "2026-01-01-0000" + std::to_string(10 + i) + ".replay";
        platform_write_file(name.c_str(), text.data(), text.size(), &why);
    }
    keeping_start();
    printf("records screen with 50 kept games: %.2f ms to list\n", listing_ms());
    sim_close();
    return 0;
}
