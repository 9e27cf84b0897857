#include "game/levelmap.h"

#include <cstring>
#include <vector>

#include "game/paths.h"

const tile_colour_t tile_colours[6] = {
    {TILE_FLOOR, '#', {0xFF, 0x00, 0x00}}, {TILE_FINISH, 'F', {0x00, 0xFF, 0x00}}, {TILE_WALL, 'W', {0x80, 0x00, 0x00}},
    {TILE_STAR, '*', {0x00, 0xFF, 0xFF}},  {TILE_HEART, 'H', {0x00, 0x00, 0xFF}},  {TILE_GAP, '.', {0x00, 0x00, 0x00}},
};

const char* const level_files[LEVEL_COUNT] = {
    RESOURCE_FOLDER "levelone.bmp",  RESOURCE_FOLDER "leveltwo.bmp",  RESOURCE_FOLDER "levelthree.bmp",
    RESOURCE_FOLDER "levelfour.bmp", RESOURCE_FOLDER "levelfive.bmp",
};

const char* resource_name(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

const tile_colour_t* tile_colour_of(const uint8_t bgr[3]) {
    for (const tile_colour_t& t : tile_colours) {
        if (t.bgr[0] == bgr[0] && t.bgr[1] == bgr[1] && t.bgr[2] == bgr[2])
            return &t;
    }
    return nullptr;
}

const tile_colour_t* tile_colour_of_kind(tile_kind_t kind) {
    for (const tile_colour_t& t : tile_colours) {
        if (t.kind == kind)
            return &t;
    }
    return nullptr;
}

const tile_colour_t* tile_colour_for(char symbol) {
    for (const tile_colour_t& t : tile_colours) {
        if (t.symbol == symbol)
            return &t;
    }
    return nullptr;
}

bool swap_in_next_level(std::string* why) {
    next_level_t next = std::move(game.next_level);
    game.next_level = next_level_t{};
    if (!next.usable) {
        *why = next.why;
        return false;
    }
    // lookups and drawing use level one's geometry, so every level must share it
    level_map_t&       l = game.level;
    const level_map_t& n = next.picture;
    if (n.width != l.width || n.height != l.height || n.line_length != l.line_length) {
        *why = "is " + std::to_string(n.width) + "x" + std::to_string(n.height) + ", not the size of level one (" +
               std::to_string(l.width) + "x" + std::to_string(l.height) + ")";
        return false;
    }
    memcpy(l.info_header, n.info_header, sizeof(l.info_header));
    l.pixels = std::move(next.picture.pixels);
    return true;
}

int tile_lookup(float x, float y, bool* outside) {
    const level_map_t& l = game.level;
    float              h = (float)l.height;
    float              col_f = x * h;
    float              row_f = y * h;
    bool               out = x < 0 || y < 0 || !(col_f < (float)l.width) || !(row_f < (float)l.height);
    // the range test comes first so the truncation never overflows
    int col = out ? 0 : (int)col_f;
    int row = out ? 0 : (int)row_f;
    if (col < 0 || row < 0 || col >= l.width || row >= l.height)
        out = true;
    if (outside)
        *outside = out;
    return out ? 0 : row * l.line_length + col * 3;
}

// The three bytes of a tile, or nullptr for an offset outside the block.
static uint8_t* tile_pixel(int offset) {
    std::vector<uint8_t>& pixels = game.level.pixels;
    if (offset < 0 || (size_t)offset + 3 > pixels.size())
        return nullptr;
    return pixels.data() + offset;
}

tile_kind_t tile_kind_at(int offset) {
    const uint8_t*       p = tile_pixel(offset);
    const tile_colour_t* t = p ? tile_colour_of(p) : nullptr;
    return t ? t->kind : TILE_GAP;
}

bool tile_carries_ship(int offset) { return tile_kind_at(offset) != TILE_GAP; }

void set_tile_floor(int offset) {
    uint8_t* p = tile_pixel(offset);
    if (p)
        memcpy(p, tile_colour_of_kind(TILE_FLOOR)->bgr, 3);
}
