// The command line, read before anything else: play, or answer without a window.
#pragma once
#include <cstdint>
#include <cstdio>

enum launch_t { LAUNCH_PLAY, LAUNCH_HELP, LAUNCH_VERSION, LAUNCH_BAD };

struct options_t {
    launch_t    launch;
    int         window_width, window_height;   // 0 for the full screen
    bool        muted;                         // start without sound; m turns it on
    const char* display;                       // -display's value, an argv string; nullptr when not given
    const char* watch;                         // --watch's file, an argv string; nullptr when not given
    bool        seeded;                        // --seed: play the random world of that seed at once
    uint64_t    seed;
    char        why[256];   // what is wrong, for LAUNCH_BAD
};

// Reads the game's own options out of argv, leaving the program name and the X
// options (-display NAME and the like) in it, in order, for the window library.
void parse_options(int* argc, char** argv, options_t* options);
// Help and version on out, a bad argument in one line on err; the exit status.
int answer_options(const options_t& options, FILE* out, FILE* err);
// The game's version, as --version says it and recordings keep it.
const char* game_version();
