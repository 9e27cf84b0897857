#include "assets/startup.h"

#include <cstdio>
#include <cstring>

#include "app/frame.h"
#include "app/keys.h"
#include "app/platform.h"
#include "assets/objmodel.h"
#include "assets/picture.h"
#include "game/actions.h"
#include "game/motion.h"
#include "render/levelmap.h"
#include "render/render.h"

assets_t assets;

const char* const model_files[5] = {
    "../resources/spaceship.obj", "../resources/spaceshipleft.obj", "../resources/spaceshipright.obj",
    "../resources/star.obj",      "../resources/heart.obj",
};

static const char* const picture_files[4] = {"background.bmp", "gameover.bmp", "playgame.bmp",
                                             "exitgame.bmp"};

// Lists compiled by an earlier start-up, reused instead of compiled again.
static uint32_t compiled_lists[5];
static uint32_t loaded_textures[4];

void forget_loaded_assets() {
    for (uint32_t& l : compiled_lists)
        l = 0;
    for (uint32_t& t : loaded_textures)
        t = 0;
}

static uint32_t* model_slot(int i) {
    uint32_t* slots[5] = {&assets.ship_list, &assets.ship_left_list, &assets.ship_right_list,
                          &assets.star_list, &assets.heart_list};
    return slots[i];
}

static uint32_t* picture_slot(int i) {
    uint32_t* slots[4] = {&assets.background_tex, &assets.gameover_tex, &assets.playgame_tex,
                          &assets.exitgame_tex};
    return slots[i];
}

static void load_models() {
    for (int i = 0; i < 5; i++) {
        FILE* f = fopen(model_files[i], "r");
        if (!f) {
            printf("Error: Cannot read model file \"%s\".\n", model_files[i]);
            *model_slot(i) = (uint32_t)-1;
            continue;
        }
        if (assets.model_loaded[i]) {
            fclose(f);
        } else {
            compiled_lists[i] = load_model(f);
            assets.model_loaded[i] = true;
        }
        *model_slot(i) = compiled_lists[i];
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
    bool same_folder = strcmp(folder, assets.picture_folder) == 0;
    for (int i = 0; i < 4; i++) {
        char path[128];
        snprintf(path, sizeof(path), "%s%s", folder, picture_files[i]);
        FILE* f = fopen(path, "rb");
        if (!f) {
            *picture_slot(i) = 0;
            continue;
        }
        if (same_folder && loaded_textures[i]) {
            fclose(f);
        } else {
            loaded_textures[i] = upload_texture_later(screen_width, screen_height,
                                                      read_picture(f, screen_width, screen_height));
        }
        *picture_slot(i) = loaded_textures[i];
    }
    snprintf(assets.picture_folder, sizeof(assets.picture_folder), "%s", folder);
}

static void place_ship() {
    for (int i = 0; i < 3; i++) {
        ship.spawn[i] = spawn_point[i];
        ship.pos[i] = spawn_point[i];
        ship.prev_pos[i] = spawn_point[i];
    }
    ship.heading = 90;
}

void startup() {
    flow.stars_collected = 0;
    load_models();
    load_pictures();
    render_setup_view();
    clear_keys();
    place_ship();
    printf("OpenGL version: %s\n", render_gl_version());
    if (!load_first_level())
        return;
    if (flow.game_started == 0) {
        actions_add_back(ACT_MENU);
    } else if (flow.game_started == 1) {
        static const int play_codes[] = {ACT_HUD, ACT_BACKGROUND, ACT_TRACK, ACT_SHIP, ACT_LEVEL_START, ACT_ON_TRACK};
        for (int code : play_codes)
            actions_add_back(code);
    }
    fflush(stdout);
}
