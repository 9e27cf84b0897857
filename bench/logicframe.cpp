// One whole game of the shipped levels through the window-free runner, each
// level played by its replay: counts the frames, and under callgrind
// (--toggle-collect=bench_play_frame) gives the instructions of game logic a
// frame of play costs.
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <sstream>
#include <string>
#include <vector>

#include "app/headless.h"
#include "assets/replay_text.h"

// Kept out of line so callgrind can collect exactly the frames of play.
extern "C" __attribute__((noinline)) bool bench_play_frame(unsigned held) { return sim_frame(held); }

static bool read_replay(const std::string& path, std::vector<unsigned>* frames) {
    std::ifstream     in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::string why;
    if (!in || !replay_from_text(text.str(), frames, &why)) {
        fprintf(stderr, "%s: %s\n", path.c_str(), why.empty() ? "cannot read" : why.c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s <play bin folder> <folder with the five .replay files>\n", argv[0]);
        return 2;
    }
    static const char* const names[5] = {"levelone", "leveltwo", "levelthree", "levelfour", "levelfive"};
    std::vector<unsigned>    replays[5];
    for (int i = 0; i < 5; i++)
        if (!read_replay(std::string(argv[2]) + "/" + names[i] + ".replay", &replays[i]))
            return 2;
    // start-up says its lines; keep them off the figures
    sim_keep_quiet(true);
    bool opened = sim_open(argv[1]) && sim_start_play();
    sim_keep_quiet(false);
    if (!opened) {
        fprintf(stderr, "the game did not start play in %s\n", argv[1]);
        return 1;
    }
    long frames = 0;
    for (int n = 0; n < 5 && !sim_ended(); n++) {
        int    lives = sim_state().lives;
        long   first = frames;
        long   to_pause = 0;   // the level's frames up to the one that slept the pause after it
        int    sleeps = game.process.level_waits;
        size_t i = 0;
        auto   play = [&](unsigned held) {
            bench_play_frame(held);
            frames++;
            if (!to_pause && game.process.level_waits != sleeps)
                to_pause = frames - first;
        };
        while (!sim_ended() && !sim_state().on_finish && i < replays[n].size())
            play(replays[n][i++]);
        bool finished = sim_state().on_finish;
        // fly-off with no keys until the next level is loaded or the game ends
        while (!sim_ended() && sim_state().level == n + 1 && !sim_state().game_over)
            play(0);
        // the game's own heap in use: the same after every level if nothing grows
        printf("level %d: %s after %zu replay frames, %ld frames to its pause, lives %d -> %d, heap in use %zu "
               "bytes\n",
               n + 1, finished ? "finished" : "NOT finished", i, to_pause, lives, sim_state().lives,
               mallinfo2().uordblks);
    }
    printf("frames of play: %ld\n", frames);
    sim_close();
    return 0;
}
