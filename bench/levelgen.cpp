// Levels made from a seed: the time levelgen_make takes for a level, drafts and
// proving flight together, at each size and difficulty asked, over a run of seeds.
// Prints "levelgen WxH D median_ms slowest_ms drafts_most" a line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/recorder.h"
#include "assets/bmp.h"
#include "game/tuning.h"
#include "levelgen/levelgen.h"
#include "replay.h"

static bool open_on_road(int w, int h) {
    level_grid_t road;
    road.width = w;
    road.height = h;
    road.bgr.assign((size_t)w * h * 3, 0);
    for (int row = 0; row < h; row++)
        tile_colour(row + 8 < h ? '#' : 'F', &road.bgr[((size_t)row * w + (int)(SPAWN_POINT[0] * h)) * 3]);
    std::string why, bin = replay_play_folder(level_to_bmp(road), &why);
    if (bin.empty() || !replay_start(bin, &why)) {
        fprintf(stderr, "%dx%d: %s\n", w, h, why.c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s SEEDS WxH...\n", argv[0]);
        return 2;
    }
    int seeds = atoi(argv[1]);
    recorder_set_on(false);
    for (int a = 2; a < argc; a++) {
        int w = 0, h = 0;
        if (sscanf(argv[a], "%dx%d", &w, &h) != 2 || !open_on_road(w, h))
            return 2;
        for (int d : {1, 5, 10}) {
            std::vector<double> ms;
            int                 drafts = 0;
            for (int s = 0; s < seeds; s++) {
                levelgen_t level;
                auto       began = std::chrono::steady_clock::now();
                levelgen_make((uint64_t)s * 7919 + 1, d, w, h, (levelgen_idea_t)(s % IDEA_COUNT), &level);
                ms.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count());
                drafts = std::max(drafts, level.drafts);
            }
            std::sort(ms.begin(), ms.end());
            printf("levelgen %dx%d %d %.2f %.2f %d\n", w, h, d, ms[ms.size() / 2], ms.back(), drafts);
        }
        sim_close();
    }
    return 0;
}
