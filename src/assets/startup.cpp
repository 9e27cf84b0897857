#include "assets/startup.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/objmodel.h"
#include "assets/picture.h"
#include "game/paths.h"
#include "platform/platform.h"
#include "render/render.h"

const model_file_t model_files[MODEL_COUNT] = {
    {RESOURCE_FOLDER "spaceship.obj", &render_assets.ship_list},
    {RESOURCE_FOLDER "spaceshipleft.obj", &render_assets.ship_left_list},
    {RESOURCE_FOLDER "spaceshipright.obj", &render_assets.ship_right_list},
    {RESOURCE_FOLDER "star.obj", &render_assets.star_list},
    {RESOURCE_FOLDER "heart.obj", &render_assets.heart_list},
};

const picture_file_t picture_files[PICTURE_COUNT] = {
    {"background.bmp", &render_assets.background_tex},
    {"gameover.bmp", &render_assets.gameover_tex},
    {"playgame.bmp", &render_assets.playgame_tex},
    {"exitgame.bmp", &render_assets.exitgame_tex},
};

// What earlier start-ups compiled and uploaded, reused instead of loaded again.
static struct {
    uint32_t lists[MODEL_COUNT];
    bool     model_loaded[MODEL_COUNT];
    uint32_t textures[PICTURE_COUNT];
    char     picture_folder[64];   // the folder the textures came from, "" when none
} loaded;

void forget_loaded_assets() { memset(&loaded, 0, sizeof(loaded)); }

const char* loaded_picture_folder() { return loaded.picture_folder; }

// A file that exists but cannot be used is named on standard error; a missing one stays quiet there.
static FILE* open_resource(const char* path, uint64_t max_bytes) {
    std::string why;
    FILE*       f = platform_open_regular(path, max_bytes, &why);
    if (!f && why != platform_cannot_open)
        fprintf(stderr, "%s: %s\n", path, why.c_str());
    return f;
}

static std::vector<obj_vertex_t> model_triangles(FILE* f) {
    obj_model_t model;
    parse_obj(f, &model);
    return obj_triangles(model);
}

static std::string picture_path(const char* folder, int i) { return std::string(folder) + picture_files[i].name; }

// A set of full-screen pictures: its folder, and the size they were painted for.
struct picture_set_t {
    char folder[64];
    int  width, height;
};

// The screen's own set, else the nearest set there is, stretched over the screen; false when none.
static bool picture_set_for(int width, int height, picture_set_t* set) {
    char        buf[sizeof(set->folder)];
    const char* own = resource_folder(width, height, buf, sizeof(buf));
    set->width = width;
    set->height = height;
    if (own) {
        snprintf(set->folder, sizeof(set->folder), "%s", own);
        return true;
    }
    std::vector<std::string> names = platform_folders_in(RESOURCE_FOLDER);
    int                      nearest = nearest_picture_set(width, height, names);
    if (nearest < 0)
        return false;
    parse_picture_size(names[nearest].c_str(), &set->width, &set->height);
    snprintf(set->folder, sizeof(set->folder), RESOURCE_FOLDER "%s/", names[nearest].c_str());
    return true;
}

// A picture of a set, red-green-blue: its file, else its packed file unpacked and
// written in the file's place, so only the first start unpacks it. A folder that
// cannot take it (*keep false from then on) still plays the picture unpacked.
// *said: the line start-up prints about it, "" for none; false when there is no picture.
static bool read_set_picture(const picture_set_t& set, int i, std::vector<uint8_t>* rgb, bool* keep,
                             std::string* said) {
    std::string path = picture_path(set.folder, i), packed_path = path + PACKED_PICTURE_SUFFIX, why, packed_why;
    said->clear();
    // any length: the read stops after the set's pixels
    if (FILE* f = platform_open_regular(path.c_str(), UINT64_MAX, &why)) {
        *rgb = read_picture(f, set.width, set.height);
        return true;
    }
    uint64_t    max_bytes = packed_picture_max_bytes(set.width, set.height);
    FILE*       packed_file = platform_open_regular(packed_path.c_str(), max_bytes, &packed_why);
    std::string packed, file;
    if (!packed_file) {
        // a missing picture stays quiet, as it always did
        if (why != platform_cannot_open)
            *said = path + ": " + why;
        else if (packed_why != platform_cannot_open)
            *said = packed_path + ": " + packed_why;
        return false;
    }
    if (!platform_read_all(packed_file, max_bytes, &packed, &packed_why) ||
        !unpack_picture(packed, set.width, set.height, &file, &packed_why)) {
        *said = packed_path + ": " + packed_why;
        return false;
    }
    if (*keep && !platform_write_file(path.c_str(), file.data(), file.size(), &why)) {
        *said = path + ": " + why + "; the pictures are unpacked at every start";
        *keep = false;
    }
    *rgb = picture_rgb(file);
    return true;
}

// Files read while the window opens: loading the GL driver takes longer than
// reading and parsing them, and start-up would otherwise wait for the two in turn.
// Only files that read cleanly are kept; start-up reads any other itself and says why.
static struct {
    int                       width, height;
    picture_set_t             set;
    bool                      model_read[MODEL_COUNT], picture_read[PICTURE_COUNT];
    std::vector<obj_vertex_t> triangles[MODEL_COUNT];
    std::vector<uint8_t>      rgb[PICTURE_COUNT];
    std::string               said[PICTURE_COUNT];   // printed by the start-up that takes the picture
} ahead;

static void read_ahead() {
    std::string why;
    for (int i = 0; i < MODEL_COUNT; i++) {
        if (FILE* f = platform_open_regular(model_files[i].path, OBJ_FILE_MAX_BYTES, &why)) {
            ahead.triangles[i] = model_triangles(f);
            ahead.model_read[i] = true;
        }
    }
    picture_set_t& set = ahead.set;
    bool           found = picture_set_for(ahead.width, ahead.height, &set);
    bool           keep = true;
    for (int i = 0; found && i < PICTURE_COUNT; i++)
        ahead.picture_read[i] = read_set_picture(set, i, &ahead.rgb[i], &keep, &ahead.said[i]);
}

void read_files_ahead(int width, int height) {
    platform_wait_aside();
    ahead = {};
    ahead.width = width;
    ahead.height = height;
    platform_start_aside(read_ahead);
}

// A model read ahead, taken once; false when there is none.
static bool take_model_read_ahead(int i, std::vector<obj_vertex_t>* triangles) {
    platform_wait_aside();
    if (!ahead.model_read[i])
        return false;
    ahead.model_read[i] = false;
    *triangles = std::move(ahead.triangles[i]);
    return true;
}

// A picture of this set read ahead for this screen, taken once; false when there is none.
static bool take_picture_read_ahead(int i, const picture_set_t& set, std::vector<uint8_t>* rgb, std::string* said) {
    platform_wait_aside();
    if (!ahead.picture_read[i] || ahead.width != view_width || ahead.height != view_height ||
        strcmp(ahead.set.folder, set.folder) != 0)
        return false;
    ahead.picture_read[i] = false;
    *rgb = std::move(ahead.rgb[i]);
    *said = std::move(ahead.said[i]);
    return true;
}

static void load_models() {
    for (int i = 0; i < MODEL_COUNT; i++) {
        std::vector<obj_vertex_t> triangles;
        bool                      read = take_model_read_ahead(i, &triangles);
        FILE*                     f = read ? nullptr : open_resource(model_files[i].path, OBJ_FILE_MAX_BYTES);
        if (!read && !f) {
            platform_say("Error: Cannot read model file \"%s\".\n", model_files[i].path);
            *model_files[i].slot = (uint32_t)-1;
            continue;
        }
        if (loaded.model_loaded[i]) {
            if (f)
                fclose(f);
        } else {
            if (!read)
                triangles = model_triangles(f);
            loaded.lists[i] = upload_model(triangles);
            loaded.model_loaded[i] = true;
        }
        *model_files[i].slot = loaded.lists[i];
    }
}

const char* resource_folder(int width, int height, char* buf, int buf_size) {
    snprintf(buf, buf_size, RESOURCE_FOLDER "%dx%d/", width, height);
    for (const picture_size_t& set : shipped_picture_sets) {
        if (set.width == width && set.height == height)
            return buf;
    }
    // any other screen that has a set of its own made for it
    return platform_dir_exists(buf) ? buf : nullptr;
}

// Whether a picture of the set can be read, its file or its packed file, saying why not as start-up does.
static bool picture_there(const picture_set_t& set, int i, std::string* said) {
    std::string path = picture_path(set.folder, i), why;
    for (const std::string& name : {path, path + PACKED_PICTURE_SUFFIX}) {
        if (FILE* f = platform_open_regular(name.c_str(), UINT64_MAX, &why)) {
            fclose(f);
            return true;
        }
        if (why != platform_cannot_open && said->empty())
            *said = name + ": " + why;
    }
    return false;
}

static void load_pictures() {
    picture_set_t set;
    if (!picture_set_for(view_width, view_height, &set))
        return;
    bool same_folder = strcmp(set.folder, loaded.picture_folder) == 0;
    bool keep = true;
    for (int i = 0; i < PICTURE_COUNT; i++) {
        std::vector<uint8_t> rgb;
        std::string          said;
        bool                 read = take_picture_read_ahead(i, set, &rgb, &said);
        if (!read) {
            // a picture uploaded before is not unpacked again, but must still be there
            if (same_folder && loaded.textures[i])
                read = picture_there(set, i, &said);
            else
                read = read_set_picture(set, i, &rgb, &keep, &said);
        }
        if (!said.empty())
            fprintf(stderr, "%s\n", said.c_str());
        if (!read) {
            *picture_files[i].slot = 0;
            continue;
        }
        // a set of another size is stretched over the screen by the quad it is drawn on
        if (!same_folder || !loaded.textures[i])
            loaded.textures[i] = upload_texture_later(set.width, set.height, std::move(rgb));
        *picture_files[i].slot = loaded.textures[i];
    }
    snprintf(loaded.picture_folder, sizeof(loaded.picture_folder), "%s", set.folder);
}

void load_assets() {
    load_models();
    load_pictures();
}

void load_pictures_for_view() { load_pictures(); }
