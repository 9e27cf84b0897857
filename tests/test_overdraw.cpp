// The fast track writes each pixel of its tops about once: the fragments that pass the
// depth test, counted by the GL, against the pixels the track changes, along level one.
#define GL_GLEXT_PROTOTYPES
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glext.h>
#include <unistd.h>

#include "app/frame.h"
#include "game/state.h"
#include "gl_window.h"
#include "platform/platform.h"
#include "render/render.h"
#include "support.h"

namespace {

int W, H;

// One frame of play with the ship over row `row`; adds the track's passing fragments
// and the pixels it changed.
void count_track(float row, double* fragments, double* pixels) {
    game.ship.pos[1] = (row + 0.5f) / 240;
    render_clear(true);
    render_begin_scene();
    draw_hud();
    draw_background();
    std::vector<uint8_t> before = read_back_now();
    GLuint               query;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    draw_track();
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint passed = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
    glDeleteQueries(1, &query);
    std::vector<uint8_t> after = read_back_now();
    draw_ship();
    render_light_on_ship();
    render_end_frame();
    *fragments += passed;
    for (size_t p = 0; p < before.size(); p += 3)
        *pixels += before[p] != after[p] || before[p + 1] != after[p + 1] || before[p + 2] != after[p + 2];
}

}   // namespace

TEST(Overdraw, TrackTopsWrittenAboutOnce) {
    if (!open_test_window("Quovix overdraw test", &W, &H))
        GTEST_SKIP() << "no X display";
    std::string bin = make_play_folder({read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.txt")});
    ASSERT_EQ(chdir(bin.c_str()), 0);
    view_width = W;
    view_height = H;
    game.flow = game_at_start.flow;
    game.flow.game_started = 1;
    start_game();
    renderer.reference_drawing = false;
    game.ship.pos[0] = 0.0146f;   // over the middle column
    game.ship.pos[2] = 0.00348f;
    double fragments = 0, pixels = 0;
    for (float row : {0.0f, 40.0f, 100.0f, 150.0f, 200.0f})
        count_track(row, &fragments, &pixels);
    // overlapping cube tops, each drawn whole, write about a quarter of the pixels twice
    printf("[overdraw] %dx%d: %.0f fragments over %.0f pixels, %.2f a pixel\n", W, H, fragments, pixels,
           fragments / pixels);
    EXPECT_GT(pixels, (double)W * H / 10);
    EXPECT_LT(fragments / pixels, 1.2);
}
