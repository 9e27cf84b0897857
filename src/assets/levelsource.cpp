#include "assets/levelsource.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "game/levelmap.h"

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
    std::string              line;
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
            *why = "line " + std::to_string(line + 1) + " has " + std::to_string(s.size()) + " tiles, the first has " +
                   std::to_string(w);
            return false;
        }
        int row = h - 1 - line;   // the top line is the far end
        for (int c = 0; c < w; c++) {
            if (!tile_colour(s[c], &grid->bgr[((size_t)row * w + c) * 3])) {
                *why = "line " + std::to_string(line + 1) + " column " + std::to_string(c + 1) + ": unknown tile '" +
                       std::string(1, s[c]) + "'";
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

bool parse_level_seed(const char* text, uint64_t* seed) {
    if (!text || !*text)
        return false;
    for (const char* c = text; *c; c++)
        if (*c < '0' || *c > '9')
            return false;
    errno = 0;
    char*              end = nullptr;
    unsigned long long value = strtoull(text, &end, 10);
    if (errno == ERANGE || *end != '\0')
        return false;
    *seed = (uint64_t)value;
    return true;
}
