#include "assets/levelsource.h"

#include <cstring>

static const struct {
    char    c;
    uint8_t bgr[3];
} tile_colours[] = {
    {'#', {0xFF, 0x00, 0x00}}, {'F', {0x00, 0xFF, 0x00}}, {'W', {0x80, 0x00, 0x00}},
    {'*', {0x00, 0xFF, 0xFF}}, {'H', {0x00, 0x00, 0xFF}}, {'.', {0x00, 0x00, 0x00}},
};

bool tile_colour(char c, uint8_t bgr[3]) {
    for (const auto& t : tile_colours) {
        if (t.c == c) {
            memcpy(bgr, t.bgr, 3);
            return true;
        }
    }
    return false;
}

char tile_char(const uint8_t bgr[3]) {
    for (const auto& t : tile_colours) {
        if (memcmp(t.bgr, bgr, 3) == 0)
            return t.c;
    }
    return '?';
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

static void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (8 * i));
}

static uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t)b[at] | (uint32_t)b[at + 1] << 8 | (uint32_t)b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

std::vector<uint8_t> level_to_bmp(const level_grid_t& grid) {
    uint32_t line = ((uint32_t)grid.width * 3 + 3) & ~3u;
    uint32_t image_size = line * (uint32_t)grid.height;
    std::vector<uint8_t> b(54 + image_size, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, 54 + image_size);
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, (uint32_t)grid.width);
    put32(b, 22, (uint32_t)grid.height);
    b[26] = 1;
    b[28] = 24;
    put32(b, 34, image_size);
    put32(b, 38, 2835);   // 72 dpi, as paint programs write it
    put32(b, 42, 2835);
    for (int row = 0; row < grid.height; row++)
        memcpy(&b[54 + (size_t)row * line], &grid.bgr[(size_t)row * grid.width * 3], (size_t)grid.width * 3);
    return b;
}

bool level_from_bmp(const std::vector<uint8_t>& f, level_grid_t* grid, std::string* why) {
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') {
        *why = "not a BMP file";
        return false;
    }
    int32_t w = (int32_t)get32(f, 18), h = (int32_t)get32(f, 22);
    uint32_t offset = get32(f, 10);
    uint16_t bits = (uint16_t)(f[28] | f[29] << 8);
    uint32_t compression = get32(f, 30);
    if (bits != 24 || compression != 0) {
        *why = "not a 24-bit uncompressed BMP (" + std::to_string(bits) + " bits, compression " +
               std::to_string(compression) + ")";
        return false;
    }
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767) {
        *why = "size " + std::to_string(w) + "x" + std::to_string(h) + " is not usable (rows must be stored bottom-up)";
        return false;
    }
    uint64_t line = ((uint64_t)w * 3 + 3) & ~(uint64_t)3;
    if ((uint64_t)offset + line * h > f.size()) {
        *why = "file ends before its pixels do";
        return false;
    }
    grid->width = w;
    grid->height = h;
    grid->bgr.resize((size_t)w * h * 3);
    for (int row = 0; row < h; row++)
        memcpy(&grid->bgr[(size_t)row * w * 3], &f[offset + row * line], (size_t)w * 3);
    return true;
}
