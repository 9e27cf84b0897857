// The level pictures a game plays: level one at start-up, each later one read as
// soon as the finish before it is reached.
#include "app/levels.h"

#include <cstdio>
#include <string>

#include "app/worlds.h"
#include "assets/bmp.h"
#include "game/requests.h"
#include "game/state.h"
#include "platform/platform.h"

static bool fail_first_level(const char* path, const std::string& why) {
    platform_say("ERROR: cannot open input file with the scene data\n");
    fprintf(stderr, "%s: %s\n", path, why.c_str());
    request_exit(1);
    return false;
}

bool load_first_level() {
    game.level.pixels = {};
    std::string path, why;
    level_map_t picture;
    if (!world_level_picture(1, &picture, &path, &why))
        return fail_first_level(path.c_str(), why);
    game.level = std::move(picture);
    const level_map_t& l = game.level;
    platform_say("Bitmap size: %d,%d (line length:%d, size:%d (%d))\n", l.width, l.height, l.line_length,
                 (int)l.pixels.size(), l.width * l.height * 3);
    return true;
}

void read_next_level(const char* path) {
    next_level_t& next = game.next_level;
    next.read = true;
    next.path = path;
    next.usable = open_level_picture(path, &next.picture, &next.why);
}

static void read_world_level(int level) {
    next_level_t& next = game.next_level;
    next.read = true;
    next.usable = world_level_picture(level, &next.picture, &next.path, &next.why);
}

// Read as soon as the finish is reached: the fly-off swaps it in inside the
// forward action, where the rules read no files.
void read_next_level_when_due() {
    const game_flow_t& flow = game.flow;
    if (flow.on_finish && flow.current_level < LEVEL_COUNT && !game.next_level.read)
        read_world_level(flow.current_level + 1);
}
