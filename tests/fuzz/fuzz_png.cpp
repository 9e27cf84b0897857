// Level pictures as paint programs save them: a PNG, or else a BMP with a
// palette. A picture read whole is a grid of its size; no input may take more
// than its few megabytes or a crash.
#include "assets/level_pictures.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    level_grid_t         grid;
    std::string          why;
    bool read = is_png(file) ? level_from_png(file, &grid, &why) : level_from_palette_bmp(file, &grid, &why);
    FUZZ_CHECK(read == why.empty());
    if (read) {
        FUZZ_CHECK(grid.width > 0 && grid.height > 0);
        FUZZ_CHECK(grid.bgr.size() == (size_t)grid.width * grid.height * 3);
    }
    return 0;
}
