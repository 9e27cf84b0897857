// quovix-level: turn level sources into pictures and back, check pictures,
// and draw a level from above.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/recorder.h"
#include "app/worlds.h"
#include "assets/bmp.h"
#include "assets/level_pictures.h"
#include "assets/levelsource.h"
#include "game/levelmap.h"
#include "game/paths.h"
#include "game/tuning.h"
#include "levelgen/levelgen.h"
#include "platform/platform.h"
#include "replay.h"
#include "tool_main.h"

// Text levels are one byte a tile; a larger file is no level anyone drew.
static const uint64_t text_level_max_bytes = 16 << 20;
// The largest preview drawn, in pixels (48 MB of colour).
static const uint64_t preview_max_pixels = 16 << 20;
// A new world's plain levels end in this many rows of finish.
static const int NEW_WORLD_FINISH_ROWS = 3;

static bool ends_with(const char* s, const char* tail) {
    size_t n = strlen(s), t = strlen(tail);
    return n >= t && strcmp(s + n - t, tail) == 0;
}

// Reads a regular file whole, within the limit of its kind (text level or picture).
static bool read_file(const char* path, std::vector<uint8_t>* bytes, std::string* why) {
    uint64_t    max_bytes = ends_with(path, ".txt") ? text_level_max_bytes : LEVEL_FILE_MAX_BYTES;
    std::string text;
    FILE*       f = platform_open_regular(path, max_bytes, why);
    if (!f || !platform_read_all(f, max_bytes, &text, why))
        return false;
    bytes->assign(text.begin(), text.end());
    return true;
}

static int fail(const char* path, const std::string& why) {
    fprintf(stderr, "%s: %s\n", path, why.c_str());
    return 1;
}

static const int max_colour_reports = 20;

enum level_kind_t { LEVEL_TEXT, LEVEL_PNG, LEVEL_PALETTE_BMP, LEVEL_BMP };

// A text source by its name, a picture by its first bytes.
static level_kind_t kind_of(const char* path, const std::vector<uint8_t>& bytes) {
    if (ends_with(path, ".txt"))
        return LEVEL_TEXT;
    if (is_png(bytes))
        return LEVEL_PNG;
    return is_palette_bmp(bytes) ? LEVEL_PALETTE_BMP : LEVEL_BMP;
}

static bool decode_grid(level_kind_t kind, const std::vector<uint8_t>& bytes, level_grid_t* grid, std::string* why) {
    switch (kind) {
    case LEVEL_TEXT: return level_from_text(std::string(bytes.begin(), bytes.end()), grid, why);
    case LEVEL_PNG: return level_from_png(bytes, grid, why);
    case LEVEL_PALETTE_BMP: return level_from_palette_bmp(bytes, grid, why);
    default: return level_from_bmp(bytes, grid, why);
    }
}

// Reads a level picture, or a text source, into a grid; false with a reason.
static bool load_grid(const char* path, level_grid_t* grid, std::string* why, level_kind_t* kind = nullptr) {
    std::vector<uint8_t> bytes;
    if (!read_file(path, &bytes, why))
        return false;
    level_kind_t k = kind_of(path, bytes);
    if (kind)
        *kind = k;
    return decode_grid(k, bytes, grid, why);
}

static int to_text(const char* in, const char* out) {
    level_grid_t grid;
    std::string  why;
    if (!load_grid(in, &grid, &why))
        return fail(in, why);
    std::string text = level_to_text(grid);
    if (!platform_write_file(out, text.data(), text.size(), &why))
        return fail(out, why);
    return 0;
}

// The game's own reader decides whether the game can load the picture at all.
static bool game_reads(const char* path, std::string* why) {
    level_map_t picture;
    return open_level_picture(path, &picture, why);
}

static const uint8_t* tile_at(const level_grid_t& g, int column, int row) {
    return &g.bgr[((size_t)row * g.width + column) * 3];
}

// The level the game plays from a file of this name (1 to LEVEL_COUNT), or 0.
static int played_level(const char* path) {
    for (int i = 0; i < LEVEL_COUNT; i++)
        if (strcmp(resource_name(path), resource_name(level_files[i])) == 0)
            return i + 1;
    return 0;
}

struct problems_t {
    const char* path;
    FILE*       out;
    int         count;
    // a world's picture: PNG and palette BMP are read for the game, and its size is level one's
    bool in_world;
    int  want_width, want_height;   // 0 for any size the game reads
};

static void report(problems_t* p, const std::string& what) {
    fprintf(p->out, "%s: %s\n", p->path, what.c_str());
    p->count++;
}

// What the game's own reader makes of a picture it will load; false once reported.
static bool game_reads_picture(problems_t* p, level_kind_t kind) {
    std::string why;
    if (game_reads(p->path, &why))
        return true;
    int         level = played_level(p->path);
    std::string then = p->in_world ? "; the world cannot be played"
                       : level     ? "; the game stops at level " + std::to_string(level) + " with an ERROR line"
                                   : "";
    std::string fix =
        kind == LEVEL_BMP ? "" : "; convert it with: quovix-level bmp " + std::string(p->path) + " OUT.bmp";
    report(p, "the game cannot read it: " + why + then + fix);
    return false;
}

// Lists what keeps the tiles of a level from playing as drawn.
static void tile_problems(problems_t* p, const level_grid_t& g) {
    int strays = 0, finishes = 0;
    for (int row = 0; row < g.height; row++) {
        for (int c = 0; c < g.width; c++) {
            const uint8_t* t = tile_at(g, c, row);
            char           kind = tile_char(t);
            finishes += kind == 'F';
            if (kind != '?')
                continue;
            // painted edges are smoothed into in-between colours, which the game reads as gaps
            if (++strays <= max_colour_reports)
                report(p, "column " + std::to_string(c) + ", row " + std::to_string(row) + " (line " +
                              std::to_string(g.height - row) + " from the top): colour " + std::to_string(t[2]) + "," +
                              std::to_string(t[1]) + "," + std::to_string(t[0]) + " is no tile colour");
        }
    }
    if (strays > max_colour_reports)
        report(p, std::to_string(strays - max_colour_reports) + " more pixels of no tile colour");
    if (finishes == 0)
        report(p, "no finish tile (green 0,255,0): the level cannot be completed");
    int  spawn_column = (int)(SPAWN_POINT[0] * g.height);
    char spawn = tile_char(tile_at(g, spawn_column, 0));
    if (spawn == '.' || spawn == '?')
        report(p,
               "the spawn tile (column " + std::to_string(spawn_column) + ", row 0) is a gap: the ship falls at once");
}

// Lists what keeps a level from playing as drawn into p; false if it could not be
// read. Converting, a picture the game cannot read is no fault: the conversion mends it.
static bool level_problems(problems_t* p, bool converting, level_grid_t* g) {
    std::string  why;
    level_kind_t kind = LEVEL_BMP;
    bool         loaded = load_grid(p->path, g, &why, &kind);
    // a file the game loads is read as the game reads it, whatever it holds
    bool meant_for_game =
        kind == LEVEL_BMP || (!converting && !p->in_world && kind != LEVEL_TEXT && played_level(p->path));
    if (meant_for_game && !game_reads_picture(p, kind))
        return false;
    if (!loaded) {
        report(p, why);
        return false;
    }
    if (kind == LEVEL_PALETTE_BMP && !converting && !p->in_world)
        report(p, "the game cannot read pictures with a palette; convert it with: quovix-level bmp " +
                      std::string(p->path) + " OUT.bmp");
    // any size the game reads plays, so long as the ship starts on the map
    std::string size = std::to_string(g->width) + "x" + std::to_string(g->height);
    if ((uint64_t)g->width * (uint64_t)g->height > LEVEL_MAX_TILES) {
        report(p, "is " + size + ", more than the " + std::to_string(LEVEL_MAX_TILES) + " tiles a level may have");
        return true;
    }
    int spawn_column = (int)(SPAWN_POINT[0] * g->height);
    if (spawn_column >= g->width) {
        report(p, "is " + size + ": at " + std::to_string(g->height) + " rows the ship starts in column " +
                      std::to_string(spawn_column) + ", off its " + std::to_string(g->width) + " columns");
        return true;
    }
    // every level must have level one's size: the game reads them all into its layout
    if (p->want_width && (g->width != p->want_width || g->height != p->want_height)) {
        report(p, "is " + std::to_string(g->width) + "x" + std::to_string(g->height) + ", levels are " +
                      std::to_string(p->want_width) + "x" + std::to_string(p->want_height));
        return true;
    }
    tile_problems(p, *g);
    return true;
}

// A world's folder: what the picker would say keeps it from playing, then each picture's
// own problems, each held to level one's size.
static int check_world(const char* dir) {
    std::string folder = dir;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    world_t w = world_read(WORLD_OWN, folder + "/", resource_name(folder.c_str()));
    folder += "/";
    int  count = 0;
    bool card_refused = w.why.rfind(WORLD_CARD, 0) == 0;
    if (card_refused) {
        printf("%s%s\n", folder.c_str(), w.why.c_str());
        count++;
    }
    int want_width = 0, want_height = 0;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        std::string  path = world_picture_path(folder, level);
        problems_t   p = {path.c_str(), stdout, 0, true, want_width, want_height};
        level_grid_t g;
        bool         read = level_problems(&p, false, &g);
        if (level == 1 && read)
            want_width = g.width, want_height = g.height;
        count += p.count;
    }
    // what the game's reader alone refuses, a PNG past the tile limit say
    if (count == 0 && !w.why.empty()) {
        printf("%s%s\n", folder.c_str(), w.why.c_str());
        count++;
    }
    if (count == 0)
        printf("%s: ok, a world of five %dx%d levels\n", dir, want_width, want_height);
    return count > 0 ? 1 : 0;
}

// A folder with a card or any level picture in it is a world, however broken.
static bool holds_a_world(const char* dir) {
    std::string folder = std::string(dir) + "/";
    for (int level = 1; level <= LEVEL_COUNT; level++)
        if (platform_exists(world_picture_path(folder, level).c_str()))
            return true;
    return platform_exists((folder + WORLD_CARD).c_str());
}

static int check(int count, char** paths) {
    int bad = 0;
    for (int i = 0; i < count; i++) {
        if (platform_is_folder(paths[i]) && !holds_a_world(paths[i])) {
            printf("%s: is not a regular file, nor a world's folder (" WORLD_CARD " and five level pictures)\n",
                   paths[i]);
            bad++;
            continue;
        }
        if (platform_is_folder(paths[i])) {
            bad += check_world(paths[i]);
            continue;
        }
        problems_t   p = {paths[i], stdout, 0, false, 0, 0};
        level_grid_t g;
        level_problems(&p, false, &g);
        if (p.count == 0)
            printf("%s: ok\n", paths[i]);
        bad += p.count > 0;
    }
    return bad > 0 ? 1 : 0;
}

// A plain level to start a world from: floor the whole way, the finish across its far rows.
static level_grid_t plain_level() {
    level_grid_t g;
    g.width = LEVEL_WIDTH;
    g.height = LEVEL_HEIGHT;
    g.bgr.resize((size_t)g.width * g.height * 3);
    for (int row = 0; row < g.height; row++)
        for (int c = 0; c < g.width; c++)
            tile_colour(row >= g.height - NEW_WORLD_FINISH_ROWS ? 'F' : '#', &g.bgr[((size_t)row * g.width + c) * 3]);
    return g;
}

// A new world from the template: its card and five plain levels, never over a world already there.
static int new_world(const char* dir) {
    std::string folder = std::string(dir) + "/", why;
    for (int level = 1; level <= LEVEL_COUNT; level++)
        if (platform_exists(world_picture_path(folder, level).c_str()))
            return fail(world_picture_path(folder, level).c_str(), "is there already; the world is left as it is");
    if (platform_exists((folder + WORLD_CARD).c_str()))
        return fail((folder + WORLD_CARD).c_str(), "is there already; the world is left as it is");
    // the player's worlds/ may not be there yet: each folder on the way is made
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        if (!platform_make_folder(folder.substr(0, slash).c_str(), &why))
            return fail(folder.substr(0, slash).c_str(), why);
    world_info_t         card = {clean_shown_text(resource_name(dir), WORLD_TITLE_MAX), "me", "five plain levels"};
    std::string          text = world_info_to_text(card);
    std::vector<uint8_t> bmp = level_to_bmp(plain_level());
    if (!platform_write_file((folder + WORLD_CARD).c_str(), text.data(), text.size(), &why))
        return fail((folder + WORLD_CARD).c_str(), why);
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        std::string path = folder + resource_name(level_files[level - 1]);
        if (!platform_write_file(path.c_str(), bmp.data(), bmp.size(), &why))
            return fail(path.c_str(), why);
    }
    printf("%s: a new world of five plain levels; draw over them and check it with: quovix-level check %s\n", dir, dir);
    return 0;
}

// The picture the game reads, made only from a level check finds nothing wrong
// with, unless forced.
static int to_bmp(const char* in, const char* out, bool force) {
    problems_t   p = {in, stderr, 0, false, 0, 0};
    level_grid_t grid;
    std::string  why;
    bool         read = level_problems(&p, true, &grid);
    if (!read || (p.count > 0 && !force))
        return 1;
    if (p.count > 0)
        fprintf(stderr, "%s: written anyway as forced to %s\n", in, out);
    std::vector<uint8_t> bmp = level_to_bmp(grid);
    if (!platform_write_file(out, bmp.data(), bmp.size(), &why))
        return fail(out, why);
    return 0;
}

// The colour a tile is drawn in, as a paint program shows the picture; gaps and
// stray colours get their own shades so they stand out from each other.
static void preview_colour(const uint8_t bgr[3], uint8_t rgb[3]) {
    char kind = tile_char(bgr);
    if (kind == '?') {
        rgb[0] = 255, rgb[1] = 0, rgb[2] = 255;
    } else if (kind == '.') {
        rgb[0] = rgb[1] = rgb[2] = 24;
    } else {
        rgb[0] = bgr[2], rgb[1] = bgr[1], rgb[2] = bgr[0];
    }
}

static void png_append(png_structp png, png_bytep bytes, size_t size) {
    std::vector<uint8_t>* out = (std::vector<uint8_t>*)png_get_io_ptr(png);
    out->insert(out->end(), bytes, bytes + size);
}

static void png_no_flush(png_structp) {}

// The PNG is made in memory and written whole, like every file.
static bool write_png(const char* path, int w, int h, const std::vector<uint8_t>& rgb, std::string* why) {
    std::vector<uint8_t> bytes;
    png_structp          png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop            info = png ? png_create_info_struct(png) : nullptr;
    bool                 ok = png && info && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_set_write_fn(png, &bytes, png_append, png_no_flush);
        png_set_IHDR(png, info, (png_uint_32)w, (png_uint_32)h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < h; y++)
            png_write_row(png, (png_const_bytep)&rgb[(size_t)y * w * 3]);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    if (!ok)
        *why = "cannot write the file";
    return ok && platform_write_file(path, bytes.data(), bytes.size(), why);
}

static int preview(const char* in, const char* out, int scale) {
    level_grid_t g;
    std::string  why;
    if (!load_grid(in, &g, &why))
        return fail(in, why);
    uint64_t pixels = (uint64_t)g.width * scale * g.height * scale;
    if (pixels > preview_max_pixels)
        return fail(in, "a preview at scale " + std::to_string(scale) + " would be " + std::to_string(pixels) +
                            " pixels, more than the " + std::to_string(preview_max_pixels) + " it may have");
    int                  w = g.width * scale, h = g.height * scale;
    std::vector<uint8_t> rgb((size_t)w * h * 3);
    for (int y = 0; y < h; y++) {
        int row = g.height - 1 - y / scale;   // the far end at the top
        for (int x = 0; x < w; x++) {
            uint8_t* p = &rgb[((size_t)y * w + x) * 3];
            preview_colour(tile_at(g, x / scale, row), p);
            // a darker seam between tiles once they are big enough to show one
            bool seam = scale >= 4 && (x % scale == 0 || y % scale == 0);
            for (int i = 0; seam && i < 3; i++)
                p[i] = (uint8_t)(p[i] * 3 / 4);
        }
    }
    if (!write_png(out, w, h, rgb, &why))
        return fail(out, why);
    return 0;
}

static void usage();

struct generate_args_t {
    uint64_t        seed = 0;
    int             difficulty = 0;
    int             width = LEVEL_WIDTH, height = LEVEL_HEIGHT;
    levelgen_idea_t idea = IDEA_MIXED;
    const char*     out = nullptr;
};

static int refuse_argument(const char* option, const char* given, const std::string& wanted) {
    fprintf(stderr, "quovix-level: %s takes %s, not \"%s\"\n", option, wanted.c_str(), given);
    return 2;
}

// WIDTHxHEIGHT, each a whole number from 1 to 32767 as a picture's sides are.
static bool parse_level_size(const char* text, int* width, int* height) {
    char* end = nullptr;
    long  w = strtol(text, &end, 10);
    if (end == text || *end != 'x')
        return false;
    const char* rest = end + 1;
    long        h = strtol(rest, &end, 10);
    if (end == rest || *end || w < 1 || h < 1 || w > 32767 || h > 32767)
        return false;
    *width = (int)w;
    *height = (int)h;
    return true;
}

static std::string replay_path_of(const std::string& out) {
    size_t dot = out.find_last_of('.'), slash = out.find_last_of('/');
    bool   has_ending = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (has_ending ? out.substr(0, dot) : out) + ".replay";
}

// The generate command's arguments: 0; 1 for a call given wrong, to be shown the usage;
// 2 for an argument refused, said in a line.
static int generate_arguments(int argc, char** argv, generate_args_t* a) {
    bool seeded = false;
    for (int i = 2; i < argc; i++) {
        const char* option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool        valued = strcmp(option, "--seed") == 0 || strcmp(option, "--difficulty") == 0 ||
                      strcmp(option, "--size") == 0 || strcmp(option, "--idea") == 0;
        if (!valued) {
            if (a->out || option[0] == '-')
                return 1;
            a->out = option;
            continue;
        }
        if (!value)
            return 1;
        i++;
        char* end = nullptr;
        if (strcmp(option, "--seed") == 0 && !(seeded = parse_level_seed(value, &a->seed)))
            return refuse_argument(option, value, "a whole number from 0 to 18446744073709551615");
        if (strcmp(option, "--difficulty") == 0) {
            long d = strtol(value, &end, 10);
            if (end == value || *end || d < LEVELGEN_DIFFICULTY_MIN || d > LEVELGEN_DIFFICULTY_MAX)
                return refuse_argument(option, value,
                                       "a whole number from " + std::to_string(LEVELGEN_DIFFICULTY_MIN) + " to " +
                                           std::to_string(LEVELGEN_DIFFICULTY_MAX));
            a->difficulty = (int)d;
        }
        if (strcmp(option, "--size") == 0 && !parse_level_size(value, &a->width, &a->height))
            return refuse_argument(option, value, "WIDTHxHEIGHT");
        if (strcmp(option, "--idea") == 0 && !levelgen_idea_named(value, &a->idea)) {
            std::string names;
            for (const char* name : levelgen_idea_names)
                names += std::string(names.empty() ? "" : ", ") + name;
            return refuse_argument(option, value, "one of " + names);
        }
    }
    if (!seeded || !a->difficulty || !a->out)
        return 1;
    std::string why;
    if (replay_path_of(a->out) == a->out) {
        fprintf(stderr, "%s: the level and its replay would be one file\n", a->out);
        return 2;
    }
    if (!levelgen_size_fits(a->width, a->height, &why)) {
        fprintf(stderr, "quovix-level: --size %dx%d: %s\n", a->width, a->height, why.c_str());
        return 2;
    }
    return 0;
}

// The runner open on a blank road of the level's size, play started, for the drafts to fly.
static bool open_runner(int width, int height, std::string* why) {
    level_grid_t road;
    road.width = width;
    road.height = height;
    road.bgr.assign((size_t)width * height * 3, 0);
    int spawn = (int)(SPAWN_POINT[0] * height);
    for (int row = 0; row < height; row++)
        tile_colour(row + 8 < height ? '#' : 'F', &road.bgr[((size_t)row * width + spawn) * 3]);
    std::string bin = replay_play_folder(level_to_bmp(road), why);
    return !bin.empty() && replay_start(bin, why);
}

static int generate(int argc, char** argv) {
    generate_args_t a;
    int             status = generate_arguments(argc, argv, &a);
    if (status == 1)
        usage();
    if (status)
        return 2;
    std::string why;
    // drafts are flown by the thousand frames: none is a game to keep
    recorder_set_on(false);
    if (!open_runner(a.width, a.height, &why))
        return fail(a.out, why);
    levelgen_t level;
    levelgen_make(a.seed, a.difficulty, a.width, a.height, a.idea, &level);
    sim_close();
    if (!level.proven)
        return fail(a.out, "no level of this size finished in " + std::to_string(level.drafts) + " drafts");
    bool                 text = ends_with(a.out, ".txt");
    std::string          source = level_to_text(level.grid);
    std::vector<uint8_t> bytes = text ? std::vector<uint8_t>(source.begin(), source.end()) : level_to_bmp(level.grid);
    std::string          replay_path = replay_path_of(a.out);
    std::string          name = resource_name(a.out);
    std::string          replay = levelgen_replay_text(level, name, a.seed, a.difficulty);
    if (!platform_write_file(a.out, bytes.data(), bytes.size(), &why))
        return fail(a.out, why);
    if (!platform_write_file(replay_path.c_str(), replay.data(), replay.size(), &why))
        return fail(replay_path.c_str(), why);
    fprintf(stderr, "%s: %dx%d, %zu frames to the finish, %d drafts flown\n", a.out, a.width, a.height,
            level.frames.size(), level.drafts);
    return 0;
}

static void usage() {
    fprintf(stderr, "usage: quovix-level bmp [--force] LEVEL OUT.bmp   make the picture the game reads\n"
                    "       quovix-level text LEVEL OUT.txt         turn a level into text\n"
                    "       quovix-level check LEVEL...             list what keeps levels from playing\n"
                    "A level check refuses is written by bmp only with --force.\n"
                    "       quovix-level preview LEVEL OUT.png [scale]   draw a level from above\n"
                    "       quovix-level generate --seed N --difficulty D [--size WxH] [--idea IDEA] OUT\n"
                    "                       make a level (OUT.txt a text source, else a picture) and\n"
                    "                       OUT.replay, the flight that proves it finishes; D is 1 to 10\n"
                    "       quovix-level check WORLD                list what keeps a world from playing\n"
                    "       quovix-level world WORLD                start a world from five plain levels\n"
                    "A LEVEL is a text source (.txt), a PNG or a BMP picture. A WORLD is a folder of\n"
                    "levelone.bmp to levelfive.bmp (or .png), each of level one's size, and world.txt.\n");
}

static int run(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "bmp") == 0)
        return to_bmp(argv[2], argv[3], false);
    if (argc == 5 && strcmp(argv[1], "bmp") == 0 && strcmp(argv[2], "--force") == 0)
        return to_bmp(argv[3], argv[4], true);
    if (argc == 4 && strcmp(argv[1], "text") == 0)
        return to_text(argv[2], argv[3]);
    if (argc >= 2 && strcmp(argv[1], "generate") == 0)
        return generate(argc, argv);
    if (argc >= 3 && strcmp(argv[1], "check") == 0)
        return check(argc - 2, argv + 2);
    if (argc == 3 && strcmp(argv[1], "world") == 0)
        return new_world(argv[2]);
    if ((argc == 4 || argc == 5) && strcmp(argv[1], "preview") == 0) {
        int scale = argc == 5 ? atoi(argv[4]) : 4;
        if (scale < 1 || scale > 64) {
            usage();
            return 2;
        }
        return preview(argv[2], argv[3], scale);
    }
    usage();
    return 2;
}

int main(int argc, char** argv) { return run_tool_main("quovix-level", run, argc, argv); }
