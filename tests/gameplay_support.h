// Helpers shared by the gameplay suites: start a game, fly it, find tiles, read the action list.
#pragma once
#include <string>
#include <vector>

#include "app/bindings.h"
#include "app/frame.h"
#include "app/headless.h"
#include "game/actions.h"
#include "game/levelmap.h"
#include "game/tuning.h"
#include "support.h"

inline float row_y(int row) { return (row + 0.5f) / LEVEL_HEIGHT; }
inline int   ship_row() { return (int)(game.ship.pos[1] * LEVEL_HEIGHT); }
inline int   tile_offset(int row, int col) { return row * game.level.line_length + col * 3; }

// A level whose track fills all seven columns, its first pixel given.
inline std::string wide_level(char first_pixel) {
    std::vector<level_edit_t> rows = rows_of(0, 227, "#######");
    rows[0].tiles[0] = first_pixel;
    return plain_level(rows);
}

// Opens a game on the given levels, without a window, and presses Enter on the menu.
inline bool start_play(const std::vector<std::string>& levels, const std::string& scale = "1") {
    return sim_open(make_play_folder(levels, scale).c_str()) && sim_start_play();
}

inline void run_frames(int n, unsigned keys = 0) {
    for (int i = 0; i < n; i++)
        sim_frame(keys);
}

// Runs frames until cond holds; the number of frames run, or -1 if it never did.
inline int run_until(bool (*cond)(), int max_frames, unsigned keys = 0) {
    for (int i = 1; i <= max_frames; i++) {
        if (!sim_frame(keys))
            return -1;
        if (cond())
            return i;
    }
    return -1;
}

// Flies on, pressing space on the frame after a wall has held the ship back,
// until the ship is past `row`. False if that takes more than max_frames.
inline bool jump_walls_until_past(int row, int max_frames) {
    bool held_back = false;
    for (int i = 0; i < max_frames; i++) {
        float y = game.ship.pos[1];
        if (!sim_frame(held_back ? HOLD_SPACE : 0))
            return false;
        held_back = game.ship.pos[1] == y && !game.ship.jump;
        if (ship_row() > row)
            return true;
    }
    return false;
}

// The action list as it stands, front first.
inline std::vector<int> queued_actions() { return std::vector<int>(game.actions.begin(), game.actions.end()); }
// The codes of play as the game lists them.
inline std::vector<int> play_list() { return std::vector<int>(std::begin(play_codes), std::end(play_codes)); }

struct Gameplay : testing::Test {
    void TearDown() override { sim_close(); }
};
