#include "app/options.h"

#include <cstdlib>
#include <cstring>

#include "app/bindings.h"
#include "assets/levelsource.h"
#include "assets/picture.h"

static const char USAGE_LINE[] =
    "usage: quovix [--window WIDTHxHEIGHT] [--mute] [--watch FILE] [--seed N] [--help] [--version] [X options]";

static const char HELP[] =
    "Steer a spaceship along a track: jump gaps and walls, collect stars and hearts.\n"
    "\n"
    "Options:\n"
    "  --window WIDTHxHEIGHT  play in a window of that size instead of the full screen;\n"
    "                         the picture is drawn for that size (each side %d to %d)\n"
    "  --mute                 start without sound; m turns it on\n"
    "  --watch FILE           watch a kept game (replays/ beside bin/) before the menu\n"
    "  --seed N               play the random world of seed N (0 to 18446744073709551615) at once:\n"
    "                         the same five levels on every machine, as the world picker's line\n"
    "                         RANDOM WORLD shows its seed\n"
    "  --help                 print this and leave\n"
    "  --version              print the version and leave\n"
    "  -display NAME, -geometry +X+Y and the window library's other X options are passed on\n"
    "\n"
    "The settings (keys, volumes, full screen, large text) are kept in settings.txt beside bin/.\n"
    "\n"
    "Keys:\n";

// The window library's own options, left in argv for it, with how many values each takes.
static const struct {
    const char* name;
    int         values;
} x_options[] = {
    {"-display", 1}, {"-geometry", 1}, {"-direct", 0}, {"-indirect", 0}, {"-iconic", 0}, {"-gldebug", 0}, {"-sync", 0},
};

static void bad(options_t* options, const char* why, const char* what) {
    options->launch = LAUNCH_BAD;
    snprintf(options->why, sizeof(options->why), why, what);
}

// WIDTHxHEIGHT as a picture set is named: a window of any size a set may have.
static void read_window_size(const char* size, options_t* options) {
    int w = 0, h = 0;
    if (!parse_picture_size(size, &w, &h)) {
        options->launch = LAUNCH_BAD;
        snprintf(options->why, sizeof(options->why), "--window wants WIDTHxHEIGHT, each side from %d to %d, not \"%s\"",
                 PICTURE_SIDE_MIN, PICTURE_SIDE_MAX, size ? size : "");
        return;
    }
    options->window_width = w;
    options->window_height = h;
}

// The one reading of a seed the level tool also takes.
static void read_seed(const char* seed, options_t* options) {
    if (!seed) {
        bad(options, "%s wants a seed, a whole number from 0 to 18446744073709551615", "--seed");
        return;
    }
    if (!parse_level_seed(seed, &options->seed)) {
        bad(options, "--seed wants a whole number from 0 to 18446744073709551615, not \"%s\"", seed);
        return;
    }
    options->seeded = true;
}

// The option at argv[*i]; moves *i past any value it takes. False for no game option.
static bool read_game_option(int argc, char** argv, int* i, options_t* options) {
    const char* arg = argv[*i];
    if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0)
        options->launch = LAUNCH_HELP;
    else if (strcmp(arg, "--version") == 0)
        options->launch = LAUNCH_VERSION;
    else if (strcmp(arg, "--mute") == 0)
        options->muted = true;
    else if (strcmp(arg, "--watch") == 0 && *i + 1 < argc)
        options->watch = argv[++*i];
    else if (strcmp(arg, "--watch") == 0)
        bad(options, "%s wants the file of a kept game", arg);
    else if (strcmp(arg, "--seed") == 0)
        read_seed(++*i < argc ? argv[*i] : nullptr, options);
    else if (strncmp(arg, "--seed=", 7) == 0)
        read_seed(arg + 7, options);
    else if (strcmp(arg, "--window") == 0)
        read_window_size(++*i < argc ? argv[*i] : nullptr, options);
    else if (strncmp(arg, "--window=", 9) == 0)
        read_window_size(arg + 9, options);
    else
        return false;
    return true;
}

// The X option at argv[*i] with its values, copied down to argv[*kept]; false for none.
static bool keep_x_option(int argc, char** argv, int* i, int* kept, options_t* options) {
    for (const auto& x : x_options) {
        if (strcmp(argv[*i], x.name) != 0)
            continue;
        if (*i + x.values >= argc) {
            bad(options, "%s wants a value", x.name);
            return true;
        }
        if (strcmp(x.name, "-display") == 0)
            options->display = argv[*i + 1];
        for (int v = 0; v <= x.values; v++)
            argv[(*kept)++] = argv[(*i)++];
        --*i;
        return true;
    }
    return false;
}

void parse_options(int* argc, char** argv, options_t* options) {
    memset(options, 0, sizeof(*options));
    int kept = *argc > 0 ? 1 : 0;
    // the first answer asked for wins: `--help --window 0x0` helps
    for (int i = 1; i < *argc && options->launch == LAUNCH_PLAY; i++) {
        if (!read_game_option(*argc, argv, &i, options) && !keep_x_option(*argc, argv, &i, &kept, options))
            bad(options, "unknown option \"%s\"", argv[i]);
    }
    argv[kept] = nullptr;
    *argc = kept;
}

const char* game_version() { return QUOVIX_VERSION; }

int answer_options(const options_t& options, FILE* out, FILE* err) {
    switch (options.launch) {
    case LAUNCH_HELP:
        fprintf(out, "%s\n", USAGE_LINE);
        fprintf(out, HELP, PICTURE_SIDE_MIN, PICTURE_SIDE_MAX);
        fputs(keys_help().c_str(), out);
        return 0;
    case LAUNCH_VERSION: fprintf(out, "quovix %s\n", game_version()); return 0;
    case LAUNCH_BAD: fprintf(err, "quovix: %s; %s\n", options.why, USAGE_LINE); return 2;
    case LAUNCH_PLAY: break;
    }
    return 0;
}
