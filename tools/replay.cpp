#include "replay.h"

#include <cstdio>
#include <cstdlib>

#include "app/headless.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "game/levelmap.h"
#include "platform/platform.h"
#include "playfolder.h"

replay_outcome_t replay_play(const std::vector<buttons_t>& frames) {
    replay_outcome_t out = {false, -1, 0, 0, 0};
    int              lives = sim_state().lives;
    for (size_t i = 0; i < frames.size() && !sim_ended(); i++) {
        sim_frame(frames[i]);
        sim_state_t s = sim_state();
        if (s.lives < lives)
            out.lives_lost += lives - s.lives;
        lives = s.lives;
        if (s.on_finish) {
            out.finished = true;
            out.finish_frame = (int)i + 1;
            break;
        }
    }
    sim_state_t s = sim_state();
    out.lives_at_end = s.lives;
    out.stars = s.stars;
    return out;
}

std::string replay_play_folder(const std::vector<unsigned char>& level_bmp, std::string* why) {
    return build_play_folder({level_bmp}, "1", nullptr, why);
}

bool replay_start(const std::string& bin, std::string* why) {
    sim_keep_quiet(true);
    bool opened = sim_open(bin.c_str()) && sim_start_play();
    sim_keep_quiet(false);
    if (!opened)
        *why = "the game did not start play in " + bin;
    return opened;
}

bool replay_level_bmp(const char* path, std::vector<unsigned char>* bmp, std::string* why) {
    std::string p = path;
    bool        text = p.size() >= 4 && p.compare(p.size() - 4, 4, ".txt") == 0;
    // a text level is a byte a tile, so it may be three times the picture's tiles
    uint64_t    max_bytes = text ? 3 * LEVEL_FILE_MAX_BYTES : LEVEL_FILE_MAX_BYTES;
    std::string bytes;
    FILE*       f = platform_open_regular(path, max_bytes, why);
    if (!f || !platform_read_all(f, max_bytes, &bytes, why))
        return false;
    if (!text) {
        bmp->assign(bytes.begin(), bytes.end());
        return true;
    }
    level_grid_t grid;
    if (!level_from_text(bytes, &grid, why))
        return false;
    *bmp = level_to_bmp(grid);
    return true;
}
