#include "app/worlds.h"

#include <algorithm>
#include <cstdio>

#include "assets/bmp.h"
#include "assets/level_pictures.h"
#include "game/levelmap.h"
#include "game/paths.h"
#include "platform/platform.h"

static world_t designed_world() {
    world_t w{};
    w.kind = WORLD_DESIGNED;
    w.folder = RESOURCE_FOLDER;
    w.info = {"QUOVIX", "QUOVIX", "THE FIVE LEVELS PLAY GAME PLAYS"};
    return w;
}

static world_t world_now = designed_world();

std::string world_picture_path(const std::string& folder, int level) {
    std::string bmp = folder + resource_name(level_files[level - 1]);
    if (bmp.size() < 4 || platform_exists(bmp.c_str()))
        return bmp;
    std::string png = bmp.substr(0, bmp.size() - 4) + ".png";
    return platform_exists(png.c_str()) ? png : bmp;
}

bool world_picture_bmp(std::vector<uint8_t>* bytes, std::string* why) {
    bool png = is_png(*bytes), palette = is_palette_bmp(*bytes);
    if (!png && !palette)
        return true;
    level_grid_t grid;
    if (!(png ? level_from_png(*bytes, &grid, why) : level_from_palette_bmp(*bytes, &grid, why)))
        return false;
    *bytes = level_to_bmp(grid);
    return true;
}

static bool read_bytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* why) {
    std::string text;
    FILE*       f = platform_open_regular(path.c_str(), LEVEL_FILE_MAX_BYTES, why);
    if (!f || !platform_read_all(f, LEVEL_FILE_MAX_BYTES, &text, why))
        return false;
    bytes->assign(text.begin(), text.end());
    return true;
}

// Level N's bytes as the game reads them, from the world's file or its maker.
static bool level_bytes(const world_t& w, int level, std::vector<uint8_t>* bmp, std::string* path, std::string* why) {
    if (w.make) {
        *path = "world " + w.name + " level " + std::to_string(level);
        return w.make(w.seed, level, bmp, why);
    }
    if (w.kind == WORLD_DESIGNED) {
        *path = level_files[level - 1];
        return read_bytes(*path, bmp, why);
    }
    *path = world_picture_path(w.folder, level);
    return read_bytes(*path, bmp, why) && world_picture_bmp(bmp, why);
}

bool world_level_picture(int level, level_map_t* picture, std::string* path, std::string* why) {
    // the designed game reads its BMPs as it always has, every message alike
    if (world_now.kind == WORLD_DESIGNED) {
        *path = level_files[level - 1];
        return open_level_picture(path->c_str(), picture, why);
    }
    std::vector<uint8_t> bmp;
    return level_bytes(world_now, level, &bmp, path, why) && parse_level_picture(bmp.data(), bmp.size(), picture, why);
}

// A seeded world's level by its name and number: what the seed makes, made or not yet.
static recorded_level_t seeded_level(const world_t& w, int level) {
    std::string name = w.name + "-" + std::to_string(level);
    return {name, content_hash("seeded world " + name)};
}

recorded_level_t world_level_found(int level) {
    if (world_now.kind == WORLD_SEEDED)
        return seeded_level(world_now, level);
    std::vector<uint8_t> bmp;
    std::string          path, why;
    bool                 read = level_bytes(world_now, level, &bmp, &path, &why);
    return {resource_name(path.c_str()), read ? content_hash(std::string(bmp.begin(), bmp.end())) : "-"};
}

static std::string size_text(const level_map_t& l) { return std::to_string(l.width) + "x" + std::to_string(l.height); }

// Each picture read as the game reads it, each of level one's size; the hashes joined as the records key them.
static void check_levels(world_t* w, int last = LEVEL_COUNT) {
    level_map_t first;
    for (int level = 1; level <= last && w->why.empty(); level++) {
        std::vector<uint8_t> bmp;
        std::string          path, why;
        level_map_t          picture;
        if (!level_bytes(*w, level, &bmp, &path, &why) || !parse_level_picture(bmp.data(), bmp.size(), &picture, &why))
            w->why = std::string(resource_name(path.c_str())) + ": " + why;
        else if (level > 1 && (picture.width != first.width || picture.height != first.height))
            w->why = std::string(resource_name(path.c_str())) + ": is " + size_text(picture) +
                     ", not the size of level one (" + size_text(first) + ")";
        if (level == 1)
            first = std::move(picture);
        w->hashes += content_hash(std::string(bmp.begin(), bmp.end()));
    }
    if (!w->why.empty())
        w->hashes.clear();
}

static void read_card(world_t* w) {
    std::string path = w->folder + WORLD_CARD, text, why;
    FILE*       f = platform_open_regular(path.c_str(), WORLD_TEXT_MAX_BYTES, &why);
    if (!f || !platform_read_all(f, WORLD_TEXT_MAX_BYTES, &text, &why) || !world_info_from_text(text, &w->info, &why))
        w->why = std::string(WORLD_CARD) + ": " + why;
}

world_t world_read(world_kind_t kind, const std::string& folder, const std::string& name) {
    world_t w = kind == WORLD_DESIGNED ? designed_world() : world_t{};
    w.kind = kind;
    w.folder = folder;
    w.name = name;
    if (kind != WORLD_DESIGNED)
        read_card(&w);
    if (w.why.empty())
        check_levels(&w);
    // a world that cannot load is still listed, by its folder's name
    if (w.info.title.empty())
        w.info.title = clean_shown_text(name, WORLD_TITLE_MAX);
    return w;
}

// A world whose pictures a function makes.
static world_t world_of_maker(world_kind_t kind, const std::string& name, const world_info_t& info, world_maker_t make,
                              uint64_t seed) {
    world_t w{};
    w.kind = kind;
    w.name = name;
    w.info = info;
    w.make = make;
    w.seed = seed;
    return w;
}

world_t world_made(const std::string& name, const world_info_t& info, world_maker_t make, uint64_t seed) {
    world_t w = world_of_maker(WORLD_MADE, name, info, make, seed);
    check_levels(&w);
    return w;
}

world_t world_seeded(const std::string& name, const world_info_t& info, world_maker_t make, world_ahead_t ahead,
                     uint64_t seed) {
    world_t w = world_of_maker(WORLD_SEEDED, name, info, make, seed);
    w.ahead = ahead;
    for (int level = 1; level <= LEVEL_COUNT; level++)
        w.hashes += seeded_level(w, level).hash;
    return w;
}

bool world_seeded_ready(world_t* w) {
    std::string hashes = w->hashes;
    w->why.clear();
    check_levels(w, 1);
    w->hashes = hashes;
    return w->why.empty();
}

static world_t (*listed_also)();

void worlds_list_also(world_t (*source)()) { listed_also = source; }

void world_make_ahead() {
    if (world_now.ahead)
        world_now.ahead(world_now.seed);
}

// The folders inside a folder in name order, at most `most` of them; the rest said once.
static std::vector<std::string> folders_by_name(const char* folder, size_t most) {
    std::vector<std::string> names = platform_folders_in(folder);
    std::sort(names.begin(), names.end());
    if (names.size() > most) {
        fprintf(stderr, "quovix: %s: %zu folders, the first %zu listed\n", folder, names.size(), most);
        names.resize(most);
    }
    return names;
}

std::vector<world_t> worlds_list() {
    std::vector<world_t> worlds = {world_read(WORLD_DESIGNED, RESOURCE_FOLDER, "")};
    for (const std::string& name : folders_by_name(CAMPAIGN_FOLDER, OWN_WORLDS_MAX))
        worlds.push_back(world_read(WORLD_CAMPAIGN, CAMPAIGN_FOLDER + name + "/", name));
    for (const std::string& name : folders_by_name(OWN_WORLDS_FOLDER, OWN_WORLDS_MAX))
        worlds.push_back(world_read(WORLD_OWN, OWN_WORLDS_FOLDER + name + "/", name));
    if (listed_also)
        worlds.push_back(listed_also());
    return worlds;
}

void           world_play(const world_t& world) { world_now = world; }
void           world_play_designed() { world_now = designed_world(); }
const world_t& world_playing() { return world_now; }

bool world_write_results(const results_t& results) {
    if (world_now.kind == WORLD_DESIGNED)
        return write_results(results);
    // the player's own world keeps them in its folder; the others beside the records, never
    // in a folder that would show as a world of the player's
    std::string path = world_now.kind == WORLD_OWN ? world_now.folder + results_file
                                                   : WORLD_RESULTS_FOLDER + world_now.name + "." + results_file;
    std::string why;
    if (world_now.kind != WORLD_OWN && !platform_make_folder(WORLD_RESULTS_FOLDER, &why))
        return false;
    return write_results(results, path.c_str());
}
