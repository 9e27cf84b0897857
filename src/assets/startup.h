// Start-up: models, pictures, view, spawn point, level one, first actions.
#pragma once
#include <cstdint>

struct assets_t {
    uint32_t ship_list, ship_left_list, ship_right_list, star_list, heart_list;
    uint32_t background_tex, gameover_tex, playgame_tex, exitgame_tex;
    bool     model_loaded[5];          // a loaded model is kept for the next start-up
    char     picture_folder[64];       // the folder the textures came from, "" when none
};
extern assets_t assets;

extern const char* const model_files[5];

void startup();
// Drops what earlier start-ups loaded, for a fresh game in the same process.
void forget_loaded_assets();

// The resource folder for a screen size, or nullptr when there is none.
const char* resource_folder(int width, int height, char* buf, int buf_size);
