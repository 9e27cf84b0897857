// The fast drawing held against the reference drawing: the same frames of play
// drawn both ways in a full-screen window and read back pixel for pixel.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <unistd.h>

#include "app/frame.h"
#include "app/headless.h"
#include "assets/picture.h"
#include "assets/replay_text.h"
#include "assets/startup.h"
#include "e2e_support.h"
#include "game/actions.h"
#include "game/levelmap.h"
#include "game/motion.h"
#include "game/state.h"
#include "game/tuning.h"
#include "gl_window.h"
#include "platform/platform.h"
#include "render/render.h"
#include "render/render_local.h"
#include "render/text.h"
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
    std::vector<uint8_t> pixels;
    read_back_at_next_swap(&pixels);
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
    view_width = W;
    view_height = H;
    game.flow = game_at_start.flow;
    game.actions = game_at_start.actions;
    game.flow.game_started = 1;
    start_game();
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

// Text stamped from the font's picture lights exactly the pixels GLUT's bitmaps do: from
// whole and split raster positions, half hidden by a nearer quad, running off the screen,
// out of view, carried on from one string to the next, and with a letter it has no stamp for.
TEST(StampedText, LightsExactlyThePixelsTheBitmapsDo) {
    NEED_SCREEN();
    struct row_t {
        float                    x, y, z;   // raster position in window pixels, z in -1..1 (1 nearest)
        std::vector<const char*> texts;
        bool                     lit, stamped;
    } rows[] = {
        {40, 40, 0, {"Collected Stars: 0123456789 !\"#$%&'()*+,-./:;<=>?@[]^_`{|}~"}, true, true},
        {40.5f, 80.25f, 0.3f, {"Time: 42s", " Lives: 5 gjpqy"}, true, true},
        {W - 60.75f, 120.99f, -0.2f, {"Level 1 runs off the edge"}, true, true},
        {40.9f, 160.5f, -0.5f, {"HALF HIDDEN BEHIND THE QUAD"}, true, true},
        {40, 200, 1.5f, {"out of view", "and still out"}, false, true},
        {40, 240, 0, {"a\tb"}, true, false},
    };
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, W, 0, H, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    auto draw = [&](const row_t& row, bool reference) {
        glClearColor(0.2f, 0.2f, 0.2f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(0.5f, 0, 0);
        glRectf(0, 150, 150, 200);   // at z 0, in front of the half-hidden row's text
        glColor3f(1, 1, 1);
        glRasterPos3f(row.x, row.y, row.z);
        renderer.reference_drawing = reference;
        for (const char* text : row.texts) {
            if (reference) {
                draw_text(text);
                continue;
            }
            bool stamped = stamp_text(text);
            EXPECT_EQ(stamped, row.stamped) << text;
            if (!stamped)
                draw_text(text);
        }
        renderer.reference_drawing = false;
        return read_back_now();
    };
    for (const row_t& row : rows) {
        std::vector<uint8_t> reference = draw(row, true), fast = draw(row, false);
        long                 white = 0;
        for (size_t p = 0; p < reference.size(); p += 3)
            white += reference[p] == 255 && reference[p + 1] == 255;
        EXPECT_EQ(compare(reference, fast).changed, 0) << row.texts[0];
        EXPECT_EQ(white > 0, row.lit) << row.texts[0];
    }
    glPopAttrib();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

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

// Whole games: the five shipped levels in order, each played by its replay through the real
// frame function on the fake clock, fly-offs and all; sampled frames are drawn both ways.
namespace {

const int   PLAY_EVERY = 60;        // frames between samples over a level
const int   NEAR_EVERY = 8;         // and with the finish close ahead or flying off
const float FINISH_CLOSE = 0.06f;   // the finish's near edge at most this far ahead

// The face of the box lo..hi that lies where axis k is `at`.
void box_face(int k, float at, const float lo[3], const float hi[3]) {
    int         u = (k + 1) % 3, v = (k + 2) % 3;
    const float corner[4][2] = {{lo[u], lo[v]}, {hi[u], lo[v]}, {hi[u], hi[v]}, {lo[u], hi[v]}};
    for (const auto& c : corner) {
        float p[3];
        p[k] = at, p[u] = c[0], p[v] = c[1];
        glVertex3fv(p);
    }
}

bool green_at(int r, int c) { return tile_kind_at(r * game.level.line_length + c * 3) == TILE_FINISH; }
bool has_floor_cube(int r, int c) {
    return r >= 0 && c >= 0 && r < game.level.height && c < game.level.width &&
           tile_kind_at(r * game.level.line_length + c * 3) != TILE_GAP;
}

const float CAMERA_OVER_SHIP = 0.006f;   // the camera's height over the ship, as the drawing sets it

// Where neighbouring floor cubes overlap, their tops lie in one plane with the edges of the
// faces each hides in the other, and the reference's winner there is whichever rounds
// nearer, pixel by pixel. The finish's seams, where dark shows through green, and seen from
// under the floor every overlap's underside, where a side's edge shows through; drawn flat
// with the frame's camera and widened by a pixel: a byte a pixel, 1 inside.
std::vector<uint8_t> seams_seen_from(const game_state_t& drawn_from) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    for (GLenum cap : {GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_BLEND, GL_FOG, GL_SCISSOR_TEST})
        glDisable(cap);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    game_state_t now = game;
    game = drawn_from;
    render_begin_scene();
    float h = (float)game.level.height, size = tile_cube_size(h);
    bool  from_below = drawn_from.ship.pos[2] + CAMERA_OVER_SHIP < 0;
    glBegin(GL_QUADS);
    for (int r = 0; r < game.level.height; r++)
        for (int c = 0; c < game.level.width; c++) {
            if (!has_floor_cube(r, c))
                continue;
            float x = tile_centre(c, h), y = tile_centre(r, h);
            // the overlap's top, and its sides where no cube stands beside them
            if (has_floor_cube(r + 1, c) && (green_at(r, c) || green_at(r + 1, c))) {
                float lo[3] = {x - size, tile_centre(r + 1, h) - size, -size}, hi[3] = {x + size, y + size, size};
                box_face(2, size, lo, hi);
                for (int side = -1; side <= 1; side += 2)
                    if (!has_floor_cube(r, c + side) || !has_floor_cube(r + 1, c + side))
                        box_face(0, x + side * size, lo, hi);
            }
            for (int axis = 0; axis < 2 && from_below; axis++) {
                int nr = r + axis, nc = c + 1 - axis;
                if (!has_floor_cube(nr, nc))
                    continue;
                float lo[3] = {tile_centre(nc, h) - size, tile_centre(nr, h) - size, -size};
                float hi[3] = {x + size, y + size, size};
                box_face(2, -size, lo, hi);
            }
            if (has_floor_cube(r, c + 1) && (green_at(r, c) || green_at(r, c + 1))) {
                float lo[3] = {tile_centre(c + 1, h) - size, y - size, -size}, hi[3] = {x + size, y + size, size};
                box_face(2, size, lo, hi);
                for (int side = -1; side <= 1; side += 2)
                    if (!has_floor_cube(r + side, c) || !has_floor_cube(r + side, c + 1))
                        box_face(1, y + side * size, lo, hi);
            }
        }
    glEnd();
    glPopMatrix();
    glPopAttrib();
    game = now;
    std::vector<uint8_t> drawn;
    read_back_at_next_swap(&drawn);
    glutSwapBuffers();   // swaps are hidden: only the read
    std::vector<uint8_t> seams((size_t)W * H, 0);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            if (!drawn[((size_t)y * W + x) * 3])
                continue;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++)
                    if (x + dx >= 0 && x + dx < W && y + dy >= 0 && y + dy < H)
                        seams[(size_t)(y + dy) * W + x + dx] = 1;
        }
    return seams;
}

struct sample_t {
    difference_t whole;
    int          outside_largest = 0;   // the same, outside every seam and every edge moved by a pixel
    long         outside_over_8 = 0;    // outside every seam
    long         edge_pixels = 0;       // outside every seam, more than 32 apart, an edge moved by a pixel
    int          rows_over_8 = 0;       // most pixels more than 8 apart in one column
};

int pixel_difference(const uint8_t* a, const uint8_t* b) {
    int most = 0;
    for (int i = 0; i < 3; i++)
        most = std::max(most, abs(a[i] - b[i]));
    return most;
}

// The colour one drawing has at pixel p is the other's within a pixel of it: an outline
// the two ways' vertices round to a pixel apart.
bool edge_moved(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t p) {
    int x = (int)(p % W), y = (int)(p / W);
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            if (x + dx < 0 || x + dx >= W || y + dy < 0 || y + dy >= H)
                continue;
            size_t q = ((size_t)(y + dy) * W + x + dx) * 3;
            if (pixel_difference(&a[p * 3], &b[q]) <= 8 || pixel_difference(&b[p * 3], &a[q]) <= 8)
                return true;
        }
    return false;
}

sample_t compare_outside(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                         const std::vector<uint8_t>& seams) {
    sample_t         s;
    std::vector<int> column(W, 0);
    s.whole = compare(a, b);
    for (size_t p = 0; p < (size_t)W * H; p++) {
        int most = pixel_difference(&a[p * 3], &b[p * 3]);
        column[p % W] += most > 8;
        if (seams[p])
            continue;
        s.outside_over_8 += most > 8;
        if (most > 32 && edge_moved(a, b, p))
            s.edge_pixels++;
        else
            s.outside_largest = std::max(s.outside_largest, most);
    }
    s.rows_over_8 = *std::max_element(column.begin(), column.end());
    return s;
}

// The frame both ways from the same state, then on with the fast way's; what was compared.
sample_t compare_frame(unsigned keys, std::vector<uint8_t>* reference, std::vector<uint8_t>* fast,
                       std::vector<uint8_t>* seams) {
    sim_snapshot_t before;
    sim_save(&before);
    glDisable(GL_SCISSOR_TEST);
    renderer.reference_drawing = true;
    read_back_at_next_swap(reference);
    // a frame ends by placing the light over the ship for the next: the second way starts
    // from the GL state the first did
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    sim_frame(keys);
    glPopAttrib();
    sim_restore(before);
    renderer.reference_drawing = false;
    read_back_at_next_swap(fast);
    sim_frame(keys);
    *seams = seams_seen_from(before);
    sample_t s = compare_outside(*reference, *fast, *seams);
    // frames between samples draw into one pixel: play goes on at a fraction of the cost
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    return s;
}

// The row of the finish nearest the start.
float finish_y() {
    for (int r = 0; r < game.level.height; r++)
        for (int c = 0; c < game.level.width; c++)
            if (green_at(r, c))
                return (float)r / game.level.height;
    return 1;
}

std::string shipped_level_name(int i) {
    std::string picture = resource_name(level_files[i]);
    return picture.substr(0, picture.size() - 4);
}

// Writes the frame, top row first, as a PPM picture for a person to look at.
void write_picture(const std::string& path, const std::vector<uint8_t>& rgb, int channels) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    fprintf(f, "P6\n%d %d\n255\n", W, H);
    for (int y = H - 1; y >= 0; y--)
        for (int x = 0; x < W; x++)
            for (int i = 0; i < 3; i++)
                fputc(rgb[((size_t)y * W + x) * channels + (channels == 3 ? i : 0)] * (channels == 3 ? 1 : 255), f);
    fclose(f);
}

// However the game's test ends, the tests after it draw and show whole frames.
struct whole_frames_after_t {
    ~whole_frames_after_t() {
        glDisable(GL_SCISSOR_TEST);
        hide_swaps(false);
        renderer.reference_drawing = false;
        sim_close();
        reset_game_state();
    }
};

}   // namespace

// The two drawings agree as in the scenes above but in the finish's seams, where the fast
// drawing's edge is clean and the reference's ragged, and where an outline lies a pixel
// apart; no column differs in more than a sliver of rows.
// The shipped levels' game at its first frame of play, the frames' swaps hidden.
static bool start_shipped_game() {
    std::vector<std::string> texts;
    for (int i = 0; i < LEVEL_COUNT; i++)
        texts.push_back(level_text(shipped_level_name(i).c_str()));
    if (!sim_open(make_play_folder(texts).c_str(), W, H) || !sim_start_play())
        return false;
    hide_swaps(true);
    return true;
}

static bool matches_but_in_seams(const sample_t& d, const std::vector<uint8_t>& reference, const std::string& where) {
    const int seam_rows = (8 * H + 767) / 768;   // most rows a column may differ in: 8 at 768 rows
    long      pixels = (long)W * H;
    EXPECT_LE(d.outside_largest, 32) << where;
    EXPECT_LE(d.outside_over_8 * 10000, pixels) << where;
    EXPECT_LE(d.rows_over_8, seam_rows) << where;
    // a test that compares two blank frames proves nothing
    EXPECT_GT(compare(reference, std::vector<uint8_t>(reference.size(), 0)).changed, pixels / 10) << where;
    return d.outside_largest <= 32 && d.outside_over_8 * 10000 <= pixels && d.rows_over_8 <= seam_rows;
}

TEST(FastDrawingOverAGame, MatchesTheReferenceButInTheFinishSeams) {
    NEED_SCREEN();
    whole_frames_after_t after;
    ASSERT_TRUE(start_shipped_game());
    const char* dump = getenv("QUOVIX_PICTURE_DUMP");   // a folder for the worst frame's pictures
    long        worst = -1;
    int         samples = 0;
    for (int level = 0; level < LEVEL_COUNT; level++) {
        std::string name = shipped_level_name(level);
        // the replay starts on the level's first frame of play, as after Enter on the menu
        while (sim_state().level_start && sim_frame(0)) {
        }
        std::vector<unsigned> keys;
        std::string           why;
        ASSERT_TRUE(replay_from_text(
            read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/" + name + ".replay"), &keys, &why))
            << why;
        float finish = finish_y();
        bool  flew_off = false;
        for (size_t i = 0; sim_state().level == level + 1 && !sim_state().game_over; i++) {
            ASSERT_LT(i, keys.size() + 1000) << name << ": no fly-off after the replay";
            unsigned    held = i < keys.size() ? keys[i] : 0;
            sim_state_t s = sim_state();
            const char* phase = s.on_finish ? "flying off" : finish - s.y < FINISH_CLOSE ? "finish ahead" : "play";
            if (s.on_finish && !flew_off) {
                // the whole game plays each level as its replay was made
                EXPECT_EQ(i, keys.size()) << name << " reached the finish on another frame";
                flew_off = true;
            }
            if (i % (phase[0] == 'p' ? PLAY_EVERY : NEAR_EVERY)) {
                sim_frame(held);
                continue;
            }
            std::vector<uint8_t> reference, fast;
            std::vector<uint8_t> seams;
            sample_t             d = compare_frame(held, &reference, &fast, &seams);
            samples++;
            printf("[picture] %dx%d %s frame %zu, %s: %ld differ, largest by %d, %ld by more than 8 (%d in a column); "
                   "outside the seams %ld by more than 8, %ld by more than 32 on a moved edge, else largest by %d\n",
                   W, H, name.c_str(), i, phase, d.whole.changed, d.whole.largest, d.whole.over_8, d.rows_over_8,
                   d.outside_over_8, d.edge_pixels, d.outside_largest);
            bool broken = !matches_but_in_seams(d, reference, name + " frame " + std::to_string(i));
            if (dump && (broken || d.whole.over_8 > worst)) {
                std::string path = std::string(dump) + "/" + (broken ? name + "-" + std::to_string(i) : "worst");
                worst = broken ? worst : d.whole.over_8;
                write_picture(path + "-reference.ppm", reference, 3);
                write_picture(path + "-fast.ppm", fast, 3);
                write_picture(path + "-seams.ppm", seams, 1);
            }
        }
        EXPECT_TRUE(flew_off) << name << ": the replay did not reach the finish";
    }
    printf("[picture] %dx%d %d frames compared\n", W, H, samples);
    EXPECT_TRUE(sim_state().game_over);
}

// A fall, as a player who steers nowhere has it on level one: the camera sinks through the
// track's cubes and under them until the life is lost, every other frame compared.
TEST(FastDrawingOverAGame, MatchesTheReferenceThroughAFall) {
    NEED_SCREEN();
    whole_frames_after_t after;
    ASSERT_TRUE(start_shipped_game());
    int lives = sim_state().lives, samples = 0;
    for (int i = 0; sim_state().lives == lives; i++) {
        ASSERT_LT(i, 2000) << "no fall on level one without steering";
        // from the ship's first frame under its rest on the floor, as the camera reaches the cubes
        if (sim_state().z >= GROUND_REST - 2e-4 || i % 2) {
            sim_frame(0);
            continue;
        }
        std::vector<uint8_t> reference, fast, seams;
        sample_t             d = compare_frame(0, &reference, &fast, &seams);
        samples++;
        printf("[picture] %dx%d fall frame %d, ship at %.4f: %ld differ, largest by %d, %ld by more than 8\n", W, H, i,
               sim_state().z, d.whole.changed, d.whole.largest, d.whole.over_8);
        const char* dump = getenv("QUOVIX_PICTURE_DUMP");   // a folder for the pictures of a frame that differs
        if (!matches_but_in_seams(d, reference, "fall frame " + std::to_string(i)) && dump) {
            std::string path = std::string(dump) + "/fall-" + std::to_string(i);
            write_picture(path + "-reference.ppm", reference, 3);
            write_picture(path + "-fast.ppm", fast, 3);
            write_picture(path + "-seams.ppm", seams, 1);
        }
    }
    // the ship sinks 0.025 under the floor at a steady pace: dozens of frames
    EXPECT_GT(samples, 40);
}
