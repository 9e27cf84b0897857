#include "assets/world_text.h"

#include <cstring>

std::string clean_shown_text(const std::string& raw, size_t max) {
    std::string shown;
    for (char c : raw) {
        unsigned char u = (unsigned char)c;
        // a letter outside ASCII is one '?' for its lead byte, nothing for the bytes after it
        if (u >= 0x80 && u < 0xc0)
            continue;
        shown += u == '\t' ? ' ' : (u < ' ' || u >= 0x7f) ? '?' : c;
    }
    size_t first = shown.find_first_not_of(' '), last = shown.find_last_not_of(' ');
    shown = first == std::string::npos ? "" : shown.substr(first, last - first + 1);
    if (shown.size() > max)
        shown = shown.substr(0, max - 3) + "...";
    return shown;
}

static const struct {
    const char* key;
    size_t      max;
    std::string world_info_t::*value;
} card_keys[] = {
    {"title", WORLD_TITLE_MAX, &world_info_t::title},
    {"maker", WORLD_MAKER_MAX, &world_info_t::maker},
    {"note", WORLD_NOTE_MAX, &world_info_t::note},
};

// One "key: value" line into the card; false with what is wrong.
static bool read_card_line(const std::string& line, world_info_t* info, bool seen[3], std::string* why) {
    size_t colon = line.find(':');
    for (int i = 0; i < 3 && colon != std::string::npos; i++) {
        if (line.compare(0, colon, card_keys[i].key) != 0)
            continue;
        if (seen[i]) {
            *why = std::string("\"") + card_keys[i].key + "\" is given twice";
            return false;
        }
        seen[i] = true;
        info->*card_keys[i].value = clean_shown_text(line.substr(colon + 1), card_keys[i].max);
        return true;
    }
    *why = "not \"title: ...\", \"maker: ...\" or \"note: ...\"";
    return false;
}

static bool read_card_lines(const std::string& text, world_info_t* info, std::string* why) {
    bool   seen[3] = {false, false, false};
    size_t start = 0;
    for (int number = 1; start < text.size(); number++) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#')
            continue;
        if (!read_card_line(line, info, seen, why)) {
            *why = "line " + std::to_string(number) + ": " + *why;
            return false;
        }
    }
    if (!seen[0] || info->title.empty())
        *why = "no title (a line \"title: ...\")";
    else if (!seen[1] || info->maker.empty())
        *why = "no maker (a line \"maker: ...\")";
    return why->empty();
}

bool world_info_from_text(const std::string& text, world_info_t* info, std::string* why) {
    *info = {};
    why->clear();
    if (text.empty())
        *why = "is empty";
    else if (memchr(text.data(), 0, text.size()))
        *why = "is not text: it holds a zero byte";
    if (why->empty() && read_card_lines(text, info, why))
        return true;
    *info = {};
    return false;
}

std::string world_info_to_text(const world_info_t& info) {
    std::string text = "title: " + info.title + "\nmaker: " + info.maker + "\n";
    if (!info.note.empty())
        text += "note: " + info.note + "\n";
    return text;
}
