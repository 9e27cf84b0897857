#include "assets/startup.h"

#include <cstdio>
#include <cstring>

#include "assets/objmodel.h"
#include "assets/picture.h"
#include "game/levelmap.h"
#include "platform/platform.h"
#include "render/render.h"

const char* const model_files[5] = {
    "../resources/spaceship.obj", "../resources/spaceshipleft.obj", "../resources/spaceshipright.obj",
    "../resources/star.obj",      "../resources/heart.obj",
};

const char* const picture_files[4] = {"background.bmp", "gameover.bmp", "playgame.bmp", "exitgame.bmp"};

// What earlier start-ups compiled and uploaded, reused instead of loaded again.
static struct {
    uint32_t lists[5];
    bool     model_loaded[5];
    uint32_t textures[4];
    char     picture_folder[64];   // the folder the textures came from, "" when none
} loaded;

void forget_loaded_assets() { memset(&loaded, 0, sizeof(loaded)); }

const char* loaded_picture_folder() { return loaded.picture_folder; }

static uint32_t* model_slot(int i) {
    uint32_t* slots[5] = {&render_assets.ship_list, &render_assets.ship_left_list, &render_assets.ship_right_list,
                          &render_assets.star_list, &render_assets.heart_list};
    return slots[i];
}

static uint32_t* picture_slot(int i) {
    uint32_t* slots[4] = {&render_assets.background_tex, &render_assets.gameover_tex, &render_assets.playgame_tex,
                          &render_assets.exitgame_tex};
    return slots[i];
}

static uint32_t load_model(FILE* f) {
    obj_model_t model;
    parse_obj(f, &model);
    return upload_model(obj_triangles(model));
}

// A file that exists but cannot be used is named on standard error; a missing one stays quiet there.
static FILE* open_resource(const char* path, uint64_t max_bytes) {
    std::string why;
    FILE* f = platform_open_regular(path, max_bytes, &why);
    if (!f && why != platform_cannot_open)
        fprintf(stderr, "%s: %s\n", path, why.c_str());
    return f;
}

static void load_models() {
    for (int i = 0; i < 5; i++) {
        FILE* f = open_resource(model_files[i], OBJ_FILE_MAX_BYTES);
        if (!f) {
            printf("Error: Cannot read model file \"%s\".\n", model_files[i]);
            *model_slot(i) = (uint32_t)-1;
            continue;
        }
        if (loaded.model_loaded[i]) {
            fclose(f);
        } else {
            loaded.lists[i] = load_model(f);
            loaded.model_loaded[i] = true;
        }
        *model_slot(i) = loaded.lists[i];
    }
}

const char* resource_folder(int width, int height, char* buf, int buf_size) {
    if (width == 1366 && height == 768)
        return "../resources/1366x768/";
    if (width == 2560 && height == 1080)
        return "../resources/2560x1080/";
    if (width == 1920 && height == 1200)
        return "../resources/1920x1200/";
    // any other screen that has a set of its own made for it
    snprintf(buf, buf_size, "../resources/%dx%d/", width, height);
    return platform_dir_exists(buf) ? buf : nullptr;
}

static void load_pictures() {
    char own[64];
    const char* folder = resource_folder(screen_width, screen_height, own, sizeof(own));
    if (!folder)
        return;
    bool same_folder = strcmp(folder, loaded.picture_folder) == 0;
    for (int i = 0; i < 4; i++) {
        char path[128];
        snprintf(path, sizeof(path), "%s%s", folder, picture_files[i]);
        // any length: the read stops after the screen's pixels
        FILE* f = open_resource(path, UINT64_MAX);
        if (!f) {
            *picture_slot(i) = 0;
            continue;
        }
        if (same_folder && loaded.textures[i]) {
            fclose(f);
        } else {
            loaded.textures[i] = upload_texture_later(screen_width, screen_height,
                                                      read_picture(f, screen_width, screen_height));
        }
        *picture_slot(i) = loaded.textures[i];
    }
    snprintf(loaded.picture_folder, sizeof(loaded.picture_folder), "%s", folder);
}

void startup() {
    load_models();
    load_pictures();
    render_setup_view();
    printf("OpenGL version: %s\n", render_gl_version());
    if (load_first_level())
        fflush(stdout);
}
