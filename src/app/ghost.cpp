#include "app/ghost.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/recorder.h"
#include "app/settings.h"
#include "game/paths.h"
#include "game/screen.h"
#include "game/state.h"
#include "platform/platform.h"
#include "render/render.h"

// A ghost's file: a line a frame of play, so a level of a day's length still reads whole.
static const uint64_t GHOST_FILE_MAX_BYTES = 8 << 20;

struct pose_t {
    float  pos[3];
    float  heading;
    int8_t bank;
};

static struct {
    int                 level;   // the level the paths are for; 0 before play
    std::vector<pose_t> best;    // the ghost's path for this level, empty for none
    std::vector<pose_t> taken;   // the ship's this time
} ghost;

static std::string ghost_path(const std::string& hash) { return REPLAYS_FOLDER "ghost-" + hash + ".txt"; }

// A ghost's file read whole; a line that does not read ends the path there.
static std::vector<pose_t> read_ghost(const std::string& path) {
    std::vector<pose_t> poses;
    std::string         why, text;
    FILE*               f = platform_open_regular(path.c_str(), GHOST_FILE_MAX_BYTES, &why);
    if (!f || !platform_read_all(f, GHOST_FILE_MAX_BYTES, &text, &why))
        return poses;
    const char* p = text.c_str();
    pose_t      pose;
    int         bank, used = 0;
    while (sscanf(p, "%f %f %f %f %d%n", &pose.pos[0], &pose.pos[1], &pose.pos[2], &pose.heading, &bank, &used) == 5) {
        pose.bank = (int8_t)(bank == BANK_LEFT || bank == BANK_RIGHT ? bank : BANK_NONE);
        poses.push_back(pose);
        p += used;
    }
    return poses;
}

void ghost_keep_best(const std::string& level_hash) {
    std::string text, why;
    char        line[96];
    for (const pose_t& pose : ghost.taken) {
        snprintf(line, sizeof(line), "%.4f %.4f %.4f %.2f %d\n", pose.pos[0], pose.pos[1], pose.pos[2], pose.heading,
                 pose.bank);
        text += line;
    }
    std::string path = ghost_path(level_hash);
    if (!platform_write_file(path.c_str(), text.data(), text.size(), &why))
        fprintf(stderr, "quovix: %s: %s\n", path.c_str(), why.c_str());
}

// A new level, or the same one again in a new game: its ghost read, the ship's path started afresh.
static void level_begins(int level) {
    ghost.level = level;
    ghost.taken.clear();
    std::string hash = level_as_found(level).hash;
    ghost.best = hash == "-" ? std::vector<pose_t>{} : read_ghost(ghost_path(hash));
}

void ghost_before_frame() {
    ghost_pose_t& shown = records_view.ghost;
    size_t        frame = ghost.taken.size();
    shown.shown = settings.ghost_shown && game.flow.game_started && frame < ghost.best.size();
    if (!shown.shown)
        return;
    const pose_t& pose = ghost.best[frame];
    memcpy(shown.pos, pose.pos, sizeof(shown.pos));
    shown.heading = pose.heading;
    shown.bank = pose.bank;
}

void ghost_after_frame(bool g_pressed) {
    if (g_pressed) {
        settings.ghost_shown = !settings.ghost_shown;
        settings_save();
    }
    const game_flow_t& flow = game.flow;
    if (!flow.game_started) {
        ghost.level = 0;
        return;
    }
    if (flow.current_level != ghost.level)
        level_begins(flow.current_level);
    if (game_screen() != SCREEN_PLAY)
        return;
    const ship_t& ship = game.ship;
    ghost.taken.push_back({{ship.pos[0], ship.pos[1], ship.pos[2]}, ship.heading, (int8_t)ship.bank});
}

void ghost_hide() {
    records_view.ghost.shown = false;
    ghost.level = 0;
    ghost.best.clear();
    ghost.taken.clear();
}
