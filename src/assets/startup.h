// Start-up's assets: models and pictures, loaded and handed to the driver.
#pragma once

#include <cstdint>

// Each model file and the display list in render_assets it is drawn with.
struct model_file_t {
    const char* path;
    uint32_t*   slot;
};
const int                 MODEL_COUNT = 5;
extern const model_file_t model_files[MODEL_COUNT];

// Each full-screen picture, by its name in a screen's folder, and its texture in render_assets.
struct picture_file_t {
    const char* name;
    uint32_t*   slot;
};
const int                   PICTURE_COUNT = 4;
extern const picture_file_t picture_files[PICTURE_COUNT];

// Loads the models and pictures a game needs; one that cannot be used is passed over.
void load_assets();
// The pictures again for the view's size now, after the window changed size: the set nearest it.
void load_pictures_for_view();
// Starts reading the models, and the pictures for a screen of this size, on a
// thread of their own, for the next start-up to take (the pictures only when the
// window turns out to be that size).
void read_files_ahead(int width, int height);
// Drops what earlier start-ups loaded, for a fresh game in the same process.
void forget_loaded_assets();
// The folder the pictures were last loaded from, "" when none.
const char* loaded_picture_folder();

// The folder of a screen size's own picture set, one that ships or one made for that size,
// written into buf; nullptr when there is none.
const char* resource_folder(int width, int height, char* buf, int buf_size);
