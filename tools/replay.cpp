#include "replay.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/headless.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "game/levelmap.h"
#include "platform/platform.h"
#include "playfolder.h"

static const unsigned replay_keys = HOLD_A | HOLD_D | HOLD_SPACE;

std::string replay_keys_name(unsigned held) {
    std::string name;
    if (held & HOLD_A)
        name += "a";
    if (held & HOLD_D)
        name += name.empty() ? "d" : "+d";
    if (held & HOLD_SPACE)
        name += name.empty() ? "space" : "+space";
    return name.empty() ? "-" : name;
}

static bool keys_from_name(const std::string& name, unsigned* held) {
    *held = 0;
    if (name == "-")
        return true;
    std::stringstream in(name);
    std::string       key;
    while (std::getline(in, key, '+')) {
        if (key == "a")
            *held |= HOLD_A;
        else if (key == "d")
            *held |= HOLD_D;
        else if (key == "space")
            *held |= HOLD_SPACE;
        else
            return false;
    }
    return !name.empty();
}

std::string replay_to_text(const std::vector<unsigned>& frames, const std::string& notes) {
    std::string text = notes;
    size_t      i = 0;
    while (i < frames.size()) {
        size_t run = 1;
        while (i + run < frames.size() && frames[i + run] == frames[i])
            run++;
        text += std::to_string(run) + " " + replay_keys_name(frames[i]) + "\n";
        i += run;
    }
    return text;
}

bool replay_from_text(const std::string& text, std::vector<unsigned>* frames, std::string* why) {
    frames->clear();
    std::istringstream in(text);
    std::string        line;
    int                number = 0;
    while (std::getline(in, line)) {
        number++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        long               count = 0;
        std::string        keys, extra;
        unsigned           held = 0;
        if (!(fields >> count >> keys) || (fields >> extra) || count <= 0 || count > 1000000 ||
            !keys_from_name(keys, &held)) {
            *why = "line " + std::to_string(number) + ": not \"count keys\": " + line;
            return false;
        }
        if (frames->size() + (size_t)count > replay_max_frames) {
            *why = "line " + std::to_string(number) + ": more than " + std::to_string(replay_max_frames) + " frames";
            return false;
        }
        frames->insert(frames->end(), (size_t)count, held & replay_keys);
    }
    return true;
}

replay_outcome_t replay_play(const std::vector<unsigned>& frames) {
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
    fflush(stdout);
    int   saved = dup(1);
    FILE* null_out = fopen("/dev/null", "w");
    if (null_out && saved >= 0)
        dup2(fileno(null_out), 1);
    bool opened = sim_open(bin.c_str()) && sim_start_play();
    fflush(stdout);
    if (null_out && saved >= 0)
        dup2(saved, 1);
    if (saved >= 0)
        close(saved);
    if (null_out)
        fclose(null_out);
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
