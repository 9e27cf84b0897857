#include "records/records.h"

#include <cstdio>
#include <set>

#include "platform/platform.h"
#include "results/results.h"

static const int         HASH_DIGITS = 16;
static const char* const LEVEL_FORM = "level HASH time MS REPLAY stars N REPLAY lives N REPLAY";
static const char* const GAME_FORM = "game HASHES points N REPLAY";
static const char* const WORLD_FORM = "world HASHES finished";

static std::string version_line(int version) { return "quovix records " + std::to_string(version); }

static bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

static bool is_hashes(const std::string& s, size_t count) {
    if (s.size() != count * HASH_DIGITS)
        return false;
    for (char c : s)
        if (!is_hex(c))
            return false;
    return true;
}

// A plain file name in the replays' folder: no path, no space, nothing a line or a system reads apart.
static bool is_replay_name(const std::string& name) {
    if (name.empty() || name.size() > FILE_NAME_MAX || name == "-" || name == "." || name == "..")
        return false;
    for (char c : name) {
        unsigned char u = (unsigned char)c;
        if (u <= ' ' || u == 0x7f || c == '/' || c == '\\' || c == ':')
            return false;
    }
    return true;
}

static std::string replay_field(const std::string& replay) { return replay.empty() ? "-" : replay; }

static std::string best_fields(const char* word, int32_t value, const std::string& replay) {
    return std::string(" ") + word + " " + std::to_string(value) + " " + replay_field(replay);
}

std::string records_to_text(const records_t& records) {
    std::string text = version_line(records.worlds_finished.empty() ? 1 : RECORDS_VERSION) + "\n";
    for (const level_best_t& l : records.levels)
        text += "level " + l.hash + best_fields("time", l.time_ms, l.time_replay) +
                best_fields("stars", l.stars, l.stars_replay) + best_fields("lives", l.lives, l.lives_replay) + "\n";
    for (const game_best_t& g : records.games)
        text += "game " + g.hashes + best_fields("points", g.points, g.points_replay) + "\n";
    for (const std::string& hashes : records.worlds_finished)
        text += "world " + hashes + " finished\n";
    return text;
}

// Fields apart by single spaces: two spaces give an empty field, which nothing takes.
static std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    size_t                   start = 0;
    for (size_t space; (space = line.find(' ', start)) != std::string::npos; start = space + 1)
        fields.push_back(line.substr(start, space - start));
    fields.push_back(line.substr(start));
    return fields;
}

// -1, or a count from 0 to the largest 32-bit one.
static bool read_count(const std::string& s, int32_t* value) {
    if (s == "-1") {
        *value = -1;
        return true;
    }
    if (s.empty() || s.size() > 10)
        return false;
    int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = (int32_t)v;
    return v <= INT32_MAX;
}

// "word value replay" from fields[at]; a value of -1 has no replay.
static bool read_best(const std::vector<std::string>& fields, size_t at, const char* word, int32_t* value,
                      std::string* replay) {
    const std::string& name = fields[at + 2];
    if (fields[at] != word || !read_count(fields[at + 1], value) || (name != "-" && !is_replay_name(name)))
        return false;
    *replay = name == "-" ? "" : name;
    return *value >= 0 || replay->empty();
}

static bool read_level(const std::vector<std::string>& f, level_best_t* l) {
    if (f.size() != 11 || !is_hashes(f[1], 1))
        return false;
    l->hash = f[1];
    return read_best(f, 2, "time", &l->time_ms, &l->time_replay) &&
           read_best(f, 5, "stars", &l->stars, &l->stars_replay) &&
           read_best(f, 8, "lives", &l->lives, &l->lives_replay);
}

static bool read_game(const std::vector<std::string>& f, game_best_t* g) {
    if (f.size() != 5 || !is_hashes(f[1], LEVEL_COUNT))
        return false;
    g->hashes = f[1];
    return read_best(f, 2, "points", &g->points, &g->points_replay);
}

static bool read_version(const std::string& line, std::string* why) {
    std::vector<std::string> f = fields_of(line);
    int32_t                  version = 0;
    if (f.size() == 3 && f[0] == "quovix" && f[1] == "records" && read_count(f[2], &version) &&
        version > RECORDS_VERSION) {
        *why = "line 1: records version " + f[2] + " is newer than this game's " + std::to_string(RECORDS_VERSION);
        return false;
    }
    for (int known = 1; known <= RECORDS_VERSION; known++)
        if (line == version_line(known))
            return true;
    *why = "line 1: not \"" + version_line(RECORDS_VERSION) + "\"";
    return false;
}

static bool read_world(const std::vector<std::string>& f, std::string* hashes) {
    *hashes = f.size() == 3 && f[2] == "finished" && is_hashes(f[1], LEVEL_COUNT) ? f[1] : "";
    return !hashes->empty();
}

// One level or game line into the records; a key given twice would lose one of its bests.
static bool read_line(const std::string& line, records_t* records, std::set<std::string>* keys, std::string* why) {
    std::vector<std::string> f = fields_of(line);
    bool                     level = f[0] == "level", game = f[0] == "game", world = f[0] == "world";
    level_best_t             l;
    game_best_t              g;
    std::string              w;
    if (level && !read_level(f, &l))
        *why = std::string("not \"") + LEVEL_FORM + "\"";
    else if (game && !read_game(f, &g))
        *why = std::string("not \"") + GAME_FORM + "\"";
    else if (world && !read_world(f, &w))
        *why = std::string("not \"") + WORLD_FORM + "\"";
    else if (!level && !game && !world)
        *why = "neither a level, a game nor a world";
    else if (!keys->insert(f[0] + " " + f[1]).second)
        *why = f[0] + " " + f[1] + " is listed twice";
    else if (level)
        records->levels.push_back(l);
    else if (game)
        records->games.push_back(g);
    else
        records->worlds_finished.push_back(w);
    return why->empty();
}

static bool read_lines(const std::string& text, records_t* records, std::string* why) {
    if (text.empty()) {
        *why = "line 1: the file is empty";
        return false;
    }
    std::set<std::string> keys;
    size_t                start = 0;
    for (int number = 1; start < text.size(); number++) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            // a file cut short ends inside a line
            *why = "line " + std::to_string(number) + ": ends before the line does";
            return false;
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        // a line end an editor on Windows wrote
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 ? !read_version(line, why) : !read_line(line, records, &keys, why)) {
            if (number > 1)
                *why = "line " + std::to_string(number) + ": " + *why;
            return false;
        }
    }
    return true;
}

bool records_from_text(const std::string& text, records_t* records, std::string* why) {
    *records = {};
    why->clear();
    // all or nothing: a file damaged anywhere gives no records at all
    if (read_lines(text, records, why))
        return true;
    *records = {};
    return false;
}

const level_best_t* records_level(const records_t& records, const std::string& hash) {
    for (const level_best_t& l : records.levels)
        if (l.hash == hash)
            return &l;
    return nullptr;
}

// Takes value as the kept best when it beats it; a negative value is no result.
static bool beat(int32_t value, bool lower_wins, const std::string& replay, int32_t* best, std::string* best_replay) {
    bool better = value >= 0 && (*best < 0 || (lower_wins ? value < *best : value > *best));
    if (better) {
        *best = value;
        *best_replay = is_replay_name(replay) ? replay : "";
    }
    return better;
}

level_news_t records_level_finished(records_t* records, const std::string& hash, int32_t time_ms, int32_t stars,
                                    int32_t lives, const std::string& replay) {
    if (!is_hashes(hash, 1))
        return {false, false, false};
    level_best_t* l = const_cast<level_best_t*>(records_level(*records, hash));
    if (!l) {
        records->levels.push_back({hash, -1, "", -1, "", -1, ""});
        l = &records->levels.back();
    }
    return {beat(time_ms, true, replay, &l->time_ms, &l->time_replay),
            beat(stars, false, replay, &l->stars, &l->stars_replay),
            beat(lives, false, replay, &l->lives, &l->lives_replay)};
}

bool records_game_finished(records_t* records, const std::string& hashes, int32_t points, const std::string& replay) {
    if (!is_hashes(hashes, LEVEL_COUNT))
        return false;
    game_best_t* game = nullptr;
    for (game_best_t& g : records->games)
        if (g.hashes == hashes)
            game = &g;
    if (!game) {
        records->games.push_back({hashes, -1, ""});
        game = &records->games.back();
    }
    return beat(points, false, replay, &game->points, &game->points_replay);
}

void records_world_finished(records_t* records, const std::string& hashes) {
    if (is_hashes(hashes, LEVEL_COUNT) && !records_world_done(*records, hashes))
        records->worlds_finished.push_back(hashes);
}

bool records_world_done(const records_t& records, const std::string& hashes) {
    for (const std::string& done : records.worlds_finished)
        if (done == hashes)
            return true;
    return false;
}

// The file unusable: moved out of the way whole, so nothing in it is lost, and said once.
static void set_aside(const char* path, const std::string& what) {
    std::string aside;
    if (platform_set_aside(path, &aside))
        fprintf(stderr, "%s: %s; set aside as %s, the records start afresh\n", path, what.c_str(), aside.c_str());
    else
        fprintf(stderr, "%s: %s; it cannot be set aside, the records start afresh\n", path, what.c_str());
}

records_t records_load(const char* path) {
    records_t   records;
    std::string why, text;
    FILE*       f = platform_open_regular(path, RECORDS_FILE_MAX_BYTES, &why);
    if (!f && why == platform_cannot_open && !platform_exists(path))
        return records;
    if (!f || !platform_read_all(f, RECORDS_FILE_MAX_BYTES, &text, &why) || !records_from_text(text, &records, &why))
        set_aside(path, why);
    return records;
}

bool records_save(const char* path, const records_t& records, std::string* why) {
    std::string text = records_to_text(records);
    records_t   check;
    if (text.size() > RECORDS_FILE_MAX_BYTES) {
        *why = "the records would be larger than " + std::to_string(RECORDS_FILE_MAX_BYTES) + " bytes";
        return false;
    }
    if (!records_from_text(text, &check, why)) {
        *why = "the records would not read back: " + *why;
        return false;
    }
    return platform_write_file(path, text.data(), text.size(), why);
}
