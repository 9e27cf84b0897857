#include "assets/levelsource.h"

#include <cstring>

#include "game/levelmap.h"
#include "platform/bytes.h"

bool tile_colour(char c, uint8_t bgr[3]) {
    const tile_colour_t* t = tile_colour_for(c);
    if (t)
        memcpy(bgr, t->bgr, 3);
    return t != nullptr;
}

char tile_char(const uint8_t bgr[3]) {
    const tile_colour_t* t = tile_colour_of(bgr);
    return t ? t->symbol : '?';
}

static std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    // lines starting with ';' are notes for the level's reader
    std::vector<std::string> rows;
    for (const std::string& l : lines) {
        if (!l.empty() && l[0] != ';')
            rows.push_back(l);
    }
    return rows;
}

bool level_from_text(const std::string& text, level_grid_t* grid, std::string* why) {
    std::vector<std::string> rows = text_lines(text);
    if (rows.empty()) {
        *why = "no rows";
        return false;
    }
    int w = (int)rows[0].size();
    int h = (int)rows.size();
    grid->width = w;
    grid->height = h;
    grid->bgr.assign((size_t)w * h * 3, 0);
    for (int line = 0; line < h; line++) {
        const std::string& s = rows[line];
        if ((int)s.size() != w) {
            *why = "line " + std::to_string(line + 1) + " has " + std::to_string(s.size()) +
                   " tiles, the first has " + std::to_string(w);
            return false;
        }
        int row = h - 1 - line;   // the top line is the far end
        for (int c = 0; c < w; c++) {
            if (!tile_colour(s[c], &grid->bgr[((size_t)row * w + c) * 3])) {
                *why = "line " + std::to_string(line + 1) + " column " + std::to_string(c + 1) +
                       ": unknown tile '" + std::string(1, s[c]) + "'";
                return false;
            }
        }
    }
    return true;
}

std::string level_to_text(const level_grid_t& grid) {
    std::string text;
    for (int row = grid.height - 1; row >= 0; row--) {
        for (int c = 0; c < grid.width; c++)
            text += tile_char(&grid.bgr[((size_t)row * grid.width + c) * 3]);
        text += '\n';
    }
    return text;
}

std::vector<uint8_t> level_to_bmp(const level_grid_t& grid) {
    uint32_t line = ((uint32_t)grid.width * 3 + 3) & ~3u;
    uint32_t image_size = line * (uint32_t)grid.height;
    std::vector<uint8_t> b(54 + image_size, 0);
    b[0] = 'B';
    b[1] = 'M';
    write_le32(&b[2], 54 + image_size);
    write_le32(&b[10], 54);
    write_le32(&b[14], 40);
    write_le32(&b[18], (uint32_t)grid.width);
    write_le32(&b[22], (uint32_t)grid.height);
    b[26] = 1;
    b[28] = 24;
    write_le32(&b[34], image_size);
    write_le32(&b[38], 2835);   // 72 dpi, as paint programs write it
    write_le32(&b[42], 2835);
    for (int row = 0; row < grid.height; row++)
        memcpy(&b[54 + (size_t)row * line], &grid.bgr[(size_t)row * grid.width * 3], (size_t)grid.width * 3);
    return b;
}

bool level_from_bmp(const std::vector<uint8_t>& f, level_grid_t* grid, std::string* why) {
    level_map_t picture;
    if (!parse_level_picture(f.data(), f.size(), &picture, why))
        return false;
    // rows stepped as the game steps them, so the grid holds the tiles the game plays
    int w = picture.width, h = picture.height;
    grid->width = w;
    grid->height = h;
    grid->bgr.resize((size_t)w * h * 3);
    for (int row = 0; row < h; row++)
        memcpy(&grid->bgr[(size_t)row * w * 3], &picture.pixels[(size_t)row * picture.line_length], (size_t)w * 3);
    return true;
}
