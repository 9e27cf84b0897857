// The fast drawing held against the reference drawing: the same frames of play
// drawn both ways in a full-screen window and read back pixel for pixel.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <unistd.h>

#include "app/frame.h"
#include "assets/picture.h"
#include "assets/startup.h"
#include "e2e_support.h"
#include "game/actions.h"
#include "game/levelmap.h"
#include "game/motion.h"
#include "game/state.h"
#include "gl_window.h"
#include "platform/platform.h"
#include "render/render.h"
#include "support.h"

namespace {

int W, H;

// One full-screen window for the run, sized as the game's; false without a display.
bool open_screen_window() {
    W = H = 0;
    return open_test_window("Quovix picture test", &W, &H);
}

std::string level_text(const char* name) {
    return read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/" + name + ".txt");
}

// Every row's tiles repeated until the row is `width` wide.
std::string widened(const std::string& text, size_t width) {
    std::string out;
    for (const std::string& line : lines_of(text)) {
        if (line.empty() || line[0] == ';') {
            out += line + "\n";
            continue;
        }
        std::string row;
        while (row.size() < width)
            row += line;
        out += row.substr(0, width) + "\n";
    }
    return out;
}

struct scene_t {
    const char* name;
    std::string level;   // the text of every level of the play folder
    float       x;       // ship position: x, row under the ship, height
    float       row;
    float       z;
    int         take_row, take_col;   // a pickup taken after the first frames, -1 for none
};

float tile_y(float row) { return (row + 0.5f) / 240; }

// The frame drawn so far, read back before the swap that ends it.
std::vector<uint8_t> read_back_and_end_frame() {
    std::vector<uint8_t> pixels((size_t)W * H * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    render_end_frame();
    return pixels;
}

std::vector<uint8_t> draw_play_frame() {
    glClearColor(0, 0, 0, 0);
    render_clear(true);
    render_begin_scene();
    draw_hud();
    draw_background();
    draw_track();
    draw_ship();
    render_light_on_ship();
    return read_back_and_end_frame();
}

// The second frame of a way: the first places light 0 over the ship, as play does.
std::vector<uint8_t> draw_way(bool reference) {
    renderer.reference_drawing = reference;
    draw_play_frame();
    return draw_play_frame();
}

void enter_scene(const scene_t& s) {
    static std::map<std::string, std::string> folders;
    std::string&                              bin = folders[s.level];
    if (bin.empty())
        bin = make_play_folder({s.level});
    ASSERT_EQ(chdir(bin.c_str()), 0);
    screen_width = W;
    screen_height = H;
    game.flow = game_at_start.flow;
    game.actions = game_at_start.actions;
    game.flow.game_started = 1;
    run_startup();
    ASSERT_FALSE(game.level.pixels.empty());
    ASSERT_NE(render_assets.background_tex, 0u) << "no background picture for " << W << "x" << H;
    game.flow.level_start = 0;
    game.flow.on_finish = 1;   // the head-up time stays put between the two ways
    game.flow.frozen_seconds = 42;
    game.flow.pickup_spin = 35;
    game.ship.pos[0] = s.x;
    game.ship.pos[1] = tile_y(s.row);
    game.ship.pos[2] = s.z;
    for (int i = 0; i < 3; i++)
        game.flow.text_anchor[i] = game.ship.pos[i];
}

struct difference_t {
    int  largest = 0;   // of any channel, 0 to 255
    long over_8 = 0;    // pixels with a channel more than 8 apart
    long changed = 0;
};

difference_t compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    difference_t d;
    for (size_t p = 0; p < a.size(); p += 3) {
        int most = 0;
        for (int i = 0; i < 3; i++)
            most = std::max(most, abs(a[p + i] - b[p + i]));
        d.largest = std::max(d.largest, most);
        d.over_8 += most > 8;
        d.changed += most > 0;
    }
    return d;
}

const float ground = 0.00348f;   // the ship's height on the floor
const float spawn_x = 0.01175f;

std::vector<scene_t> scenes() {
    std::string one = level_text("levelone"), four = level_text("levelfour");
    return {
        {"start of level one", one, spawn_x, 0, ground, -1, -1},
        {"gaps, a heart, walls and stars ahead", four, spawn_x, 30, ground, -1, -1},
        {"on a wall top", four, tile_y(2) * 1.0f, 66, ground + 0.003f, -1, -1},
        {"a star taken", four, spawn_x, 78, ground, 84, 2},
        {"falling through a gap", four, tile_y(3), 41, -0.004f, -1, -1},
        {"fallen below the track", four, tile_y(3), 41, -0.02f, -1, -1},
        {"the fly-off", one, spawn_x, 236, 0.008f, -1, -1},
        {"level one 32 wide", widened(one, 32), spawn_x, 20, ground, -1, -1},
        {"level four 128 wide", widened(four, 128), tile_y(60), 30, ground, -1, -1},
    };
}

}   // namespace

// The screen must be the size the test was registered for, or a size is left untried.
#define NEED_SCREEN()                                                                                                  \
    if (!open_screen_window()) {                                                                                       \
        GTEST_SKIP() << "no X display";                                                                                \
    }                                                                                                                  \
    if (const char* want = getenv("QUOVIX_PICTURE_SCREEN")) {                                                          \
        ASSERT_EQ(want, std::to_string(W) + "x" + std::to_string(H));                                                  \
    }

class FastDrawing : public testing::TestWithParam<int> {};

TEST_P(FastDrawing, MatchesTheReference) {
    NEED_SCREEN();
    scene_t s = scenes()[GetParam()];
    enter_scene(s);
    std::vector<uint8_t> reference = draw_way(true), fast = draw_way(false);
    if (s.take_row >= 0) {
        // the fast way has drawn the level once; the pickup changes a tile under it
        set_tile_floor(s.take_row * game.level.line_length + s.take_col * 3);
        reference = draw_way(true);
        fast = draw_way(false);
    }
    difference_t d = compare(reference, fast);
    long         pixels = (long)W * H;
    printf("[picture] %dx%d %s: %s; %ld pixels differ, largest by %d, %ld by more than 8\n", W, H, s.name,
           d.changed ? "differs" : "exact", d.changed, d.largest, d.over_8);
    EXPECT_LE(d.largest, 32) << s.name;
    EXPECT_LE(d.over_8 * 10000, pixels) << s.name;
    // a test that compares two blank frames proves nothing
    EXPECT_GT(compare(reference, std::vector<uint8_t>(reference.size(), 0)).changed, pixels / 10);
}

INSTANTIATE_TEST_SUITE_P(Scenes, FastDrawing, testing::Range(0, 9));

// The menu's picture, mipmapped when first drawn, against the same file uploaded at once.
TEST(WaitingPicture, MenuShowsWhatAnUploadAtOnceShows) {
    NEED_SCREEN();
    game.flow = game_at_start.flow;
    enter_scene({"menu", level_text("levelone"), spawn_x, 0, ground, -1, -1});
    game.actions = {ACT_MENU};   // the menu's frame, which draws no background
    auto menu_frame = [] {
        render_clear(false);
        render_begin_scene();
        draw_menu();
        return read_back_and_end_frame();
    };
    std::vector<uint8_t> later = menu_frame();
    std::string          path = std::string(loaded_picture_folder()) + "playgame.bmp";
    FILE*                f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr) << path;
    render_assets.playgame_tex = upload_texture(W, H, read_picture(f, W, H).data());
    std::vector<uint8_t> at_once = menu_frame();
    EXPECT_EQ(compare(later, at_once).changed, 0);
    EXPECT_GT(compare(later, std::vector<uint8_t>(later.size(), 0)).changed, (long)W * H / 2);
}
