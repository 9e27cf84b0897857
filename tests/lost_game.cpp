// Plays the game in the folder given into a lost game (its level must drop the
// ship into a gap), says "lost" on standard output, then runs frames until it
// is killed: every frame of a lost game rewrites player.s.
#include <cstdio>
#include <unistd.h>

#include "app/headless.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <bin folder>\n", argv[0]);
        return 2;
    }
    // an orphan left by a dead test does not run on for ever (Windows: its test ends it)
#ifndef _WIN32
    alarm(120);
#endif
    if (!sim_open(argv[1]) || !sim_start_play()) {
        fprintf(stderr, "the game did not start in %s\n", argv[1]);
        return 1;
    }
    for (int i = 0; i < 100000 && game.flow.lives > 0; i++)
        sim_frame(0);
    if (game.flow.lives > 0) {
        fprintf(stderr, "the game was not lost\n");
        return 1;
    }
    // the frame that found no lives left has written the file once
    sim_frame(0);
    printf("lost\n");
    fflush(stdout);
    while (sim_frame(0)) {
    }
    return 1;
}
