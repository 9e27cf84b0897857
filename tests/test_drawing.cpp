// The GL driver in a window of its own: frames read back from the back buffer,
// textures read back from GL.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <filesystem>
#include <functional>
#include <unistd.h>

#include "app/frame.h"
#include "assets/picture.h"
#include "e2e_support.h"
#include "game/flow.h"
#include "game/levelmap.h"
#include "game/motion.h"
#include "game/state.h"
#include "game/tuning.h"
#include "gl_window.h"
#include "platform/platform.h"
#include "render/render.h"
#include "support.h"

namespace {

const int W = 640;
const int H = 480;

// One window for the whole run; false when there is no X display to open it on.
bool open_gl_window() {
    int width = W, height = H;
    return open_test_window("Quovix drawing test", &width, &height);
}

#define NEED_WINDOW()                                                                                                  \
    if (!open_gl_window())                                                                                             \
        GTEST_SKIP() << "no X display";

struct colour_t {
    int r, g, b;
};

std::ostream& operator<<(std::ostream& os, colour_t c) { return os << "(" << c.r << "," << c.g << "," << c.b << ")"; }

struct frame_t {
    std::vector<uint8_t> pixels;   // bottom row first, as GL reads them
    GLdouble             model[16], proj[16];
    GLint                view[4];

    colour_t at(int x, int y) const {
        const uint8_t* p = &pixels[((size_t)y * W + x) * 3];
        return {p[0], p[1], p[2]};
    }
    // Where a world point lands in the window; false when it is off screen.
    bool place(double x, double y, double z, int* px, int* py) const {
        GLdouble wx, wy, wz;
        if (gluProject(x, y, z, model, proj, view, &wx, &wy, &wz) != GL_TRUE)
            return false;
        *px = (int)wx;
        *py = (int)wy;
        return *px >= 0 && *px < W && *py >= 0 && *py < H && wz > 0 && wz < 1;
    }
    colour_t colour_of(double x, double y, double z) const {
        int px, py;
        return place(x, y, z, &px, &py) ? at(px, py) : colour_t{-1, -1, -1};
    }
};

const float TILE = 1.0f / 240;
const float CUBE = TILE - 0.0016f;   // half the edge of a tile cube
float       centre(int i) { return i * TILE + 0.5f * TILE; }

// Start-up in a play folder holding floor on rows 0-9, the finish on rows 10-13
// and nothing beyond; a wall on the ship's column at row 5 when asked for.
void load_scene(bool wall) {
    static std::string bins[2];
    if (bins[wall].empty()) {
        std::vector<level_edit_t> rows = rows_of(14, 239, ".......");
        for (const level_edit_t& e : rows_of(10, 13, ".FFFFF."))
            rows.push_back(e);
        if (wall)
            rows.push_back({5, ".#W###."});
        bins[wall] = make_play_folder({plain_level(rows, false)});
        // the scene is drawn over no picture: no set is left to stand in for the window's own
        std::string resources = bins[wall] + "/../resources/";
        int         w, h;
        for (const std::string& set : platform_folders_in(resources.c_str()))
            if (parse_picture_size(set.c_str(), &w, &h))
                std::filesystem::remove_all(resources + set);
    }
    ASSERT_EQ(chdir(bins[wall].c_str()), 0);
    view_width = W;
    view_height = H;
    load_game();
    ASSERT_FALSE(game.level.pixels.empty());
    for (int i = 0; i < 3; i++)
        game.ship.pos[i] = game.flow.text_anchor[i] = SPAWN_POINT[i];
}

// One frame of play in the game's drawing order, read back before the swap.
frame_t draw_frame(bool with_ship, bool with_hud = false) {
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    render_clear(false);
    render_begin_scene();
    render_light_on_ship();
    if (with_hud)
        draw_hud();
    draw_track();
    if (with_ship)
        draw_ship();
    render_finish_scene();
    frame_t f;
    f.pixels.resize((size_t)W * H * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, f.pixels.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, f.model);
    glGetDoublev(GL_PROJECTION_MATRIX, f.proj);
    glGetIntegerv(GL_VIEWPORT, f.view);
    render_end_frame();
    return f;
}

// One full-screen screen drawn over grey, read back before the swap.
frame_t screen(void (*draw)()) {
    frame_t f;
    f.pixels.resize((size_t)W * H * 3);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    render_clear(false);
    draw();
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, f.pixels.data());
    render_end_frame();
    return f;
}

// Counts the pixels that differ between two frames, and how many of them pass `where`.
long changed_pixels(const frame_t& a, const frame_t& b, const std::function<bool(int x, int y, colour_t c)>& where,
                    long* passing) {
    long changed = 0;
    *passing = 0;
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            colour_t p = a.at(x, y), q = b.at(x, y);
            if (abs(p.r - q.r) + abs(p.g - q.g) + abs(p.b - q.b) <= 12)
                continue;
            changed++;
            *passing += where(x, y, q);
        }
    }
    return changed;
}

bool is_dark(colour_t c) { return c.r >= 0 && c.r < 40 && c.g < 40 && c.b < 40; }
bool is_clear_grey(colour_t c) { return abs(c.r - 127) < 6 && abs(c.g - 127) < 6 && abs(c.b - 127) < 6; }

// Reads back the texture bound now, tightly packed red-green-blue.
std::vector<uint8_t> bound_texels(GLint* w, GLint* h) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    std::vector<uint8_t> tex((size_t)*w * *h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, tex.data());
    return tex;
}

}   // namespace

TEST(Drawing, TrackFinishAndGapsWhereTheTilesAre) {
    NEED_WINDOW();
    load_scene(false);
    frame_t f = draw_frame(false);
    for (int col : {1, 3, 5}) {
        // floor tops on either side of the ship's column, near and far
        for (int row : {1, 4, 8})
            EXPECT_TRUE(is_dark(f.colour_of(centre(col), centre(row), CUBE)))
                << "floor row " << row << " col " << col << " " << f.colour_of(centre(col), centre(row), CUBE);
        // the finish is green
        colour_t c = f.colour_of(centre(col), centre(12), CUBE);
        EXPECT_TRUE(c.g > c.r + 15 && c.g > c.b + 15) << "finish col " << col << " " << c;
    }
    // gap columns beside the track and the rows past its end show what is behind;
    // looked at level with the floor's top, so no neighbouring cube is in the way
    for (int row : {2, 6})
        for (int col : {0, 6})
            EXPECT_TRUE(is_clear_grey(f.colour_of(centre(col), centre(row), CUBE)))
                << "gap row " << row << " col " << col << " " << f.colour_of(centre(col), centre(row), CUBE);
    EXPECT_TRUE(is_clear_grey(f.colour_of(centre(3), centre(40), 0)));
    // nothing above the far end of the track: the top of the window is untouched
    EXPECT_TRUE(is_clear_grey(f.at(W / 2, H - 5)));
}

TEST(Drawing, WallRaisesACubeAboveTheFloor) {
    NEED_WINDOW();
    load_scene(true);
    frame_t with_wall = draw_frame(false);
    load_scene(false);
    frame_t without = draw_frame(false);
    // a point on the front of the raised cube, above the floor's top: the wall
    // hides what lies past the track there
    double x = centre(2), y = centre(5) - CUBE, z = 0.005;
    EXPECT_TRUE(is_dark(with_wall.colour_of(x, y, z))) << with_wall.colour_of(x, y, z);
    EXPECT_TRUE(is_clear_grey(without.colour_of(x, y, z))) << without.colour_of(x, y, z);
    // the top of the raised cube, where a plain floor tile has nothing
    EXPECT_TRUE(is_dark(with_wall.colour_of(x, centre(5), 0.003 + CUBE)))
        << with_wall.colour_of(x, centre(5), 0.003 + CUBE);
    // the neighbouring floor tile of the same row is not raised
    EXPECT_TRUE(is_clear_grey(with_wall.colour_of(centre(4), centre(5) - CUBE, 0.005)));
}

TEST(Drawing, ShipIsDrawnWhereItIs) {
    NEED_WINDOW();
    load_scene(false);
    frame_t bare = draw_frame(false);
    frame_t shown = draw_frame(true);
    int     sx, sy;
    ASSERT_TRUE(shown.place(game.ship.pos[0], game.ship.pos[1], game.ship.pos[2], &sx, &sy));
    double mx = 0, my = 0;
    long   far_off = 0, changed = changed_pixels(
                            bare, shown,
                            [&](int x, int y, colour_t) {
                              mx += x;
                              my += y;
                              return abs(x - sx) > W / 4 || abs(y - sy) > H / 6;
                          },
                            &far_off);
    ASSERT_GT(changed, 100);
    EXPECT_EQ(far_off, 0);
    EXPECT_NEAR(mx / changed, sx, W / 16.0);
    EXPECT_NEAR(my / changed, sy, H / 16.0);
}

// Flying, and falling with the camera looking up through the track, which must not hide it.
TEST(Drawing, HudTextIsWhiteAtTheTopAndOverTheTrack) {
    NEED_WINDOW();
    long flying = 0;
    for (float drop : {0.0f, 0.015f}) {
        SCOPED_TRACE(drop);
        load_scene(false);
        game.ship.pos[2] = game.flow.text_anchor[2] = SPAWN_POINT[2] - drop;
        frame_t bare = draw_frame(false);
        frame_t hud = draw_frame(false, true);
        long    white, low, left, right;
        long    changed = changed_pixels(
               bare, hud, [](int, int, colour_t c) { return c.r > 245 && c.g > 245 && c.b > 245; }, &white);
        ASSERT_GT(changed, 200);
        EXPECT_EQ(white, changed);
        changed_pixels(
            bare, hud, [](int, int y, colour_t) { return y < H / 2; }, &low);
        EXPECT_EQ(low, 0);
        // time on the left, stars and lives on the right
        changed_pixels(
            bare, hud, [](int x, int, colour_t) { return x < W / 3; }, &left);
        changed_pixels(
            bare, hud, [](int x, int, colour_t) { return x > 2 * W / 3; }, &right);
        EXPECT_GT(left, 50);
        EXPECT_GT(right, 50);
        // the same words, whole, where the track stands between them and the camera (0.015 under it)
        if (drop == 0)
            flying = changed;
        else
            EXPECT_NEAR(changed, flying, flying / 10);
    }
}

// A level change draws the scene as it stands with its words over a dark band in the middle:
// the level done with its time and stars, then in the last second the level to come.
TEST(Drawing, LevelChangeSaysTheLevelDoneThenTheNext) {
    NEED_WINDOW();
    load_scene(false);
    frame_t scene;
    read_back_at_next_swap(&scene.pixels);
    render_clear(true);
    render_begin_scene();
    draw_hud();
    draw_background();
    draw_track();
    draw_ship();
    render_end_frame();
    game.flow.level_time = 21350;
    game.flow.stars_collected = 7;
    game.cmd.now_ms = 100000;
    struct {
        int level, ms_left;
    } waits[] = {{2, 2400}, {2, 900}, {5, 2400}, {5, 900}, {2, 1000}, {2, 1001}};
    std::vector<frame_t> shown;
    for (const auto& w : waits) {
        SCOPED_TRACE(testing::Message() << "level " << w.level << ", " << w.ms_left << " ms left");
        game.flow.current_level = w.level;
        game.flow.level_change_end_ms = game.cmd.now_ms + w.ms_left;
        frame_t f;
        read_back_at_next_swap(&f.pixels);
        render_hold_frame();
        ASSERT_EQ(f.pixels.size(), (size_t)W * H * 3) << "no frame shown";
        shown.push_back(f);
        long white = 0, dark = 0, kept = 0, around = 0;
        for (int y = 0; y < H; y++) {
            for (int x = 0; x < W; x++) {
                colour_t c = f.at(x, y), s = scene.at(x, y);
                bool     middle = abs(y - H / 2) < 40;
                white += middle && c.r > 200 && c.g > 200 && c.b > 200;
                dark += middle && is_dark(c);
                if (abs(y - H / 2) > 60) {
                    around++;
                    kept += abs(c.r - s.r) + abs(c.g - s.g) + abs(c.b - s.b) <= 12;
                }
            }
        }
        EXPECT_GT(white, 300) << "no words";
        EXPECT_GT(dark, W * 80 / 2) << "no dark band under them";
        EXPECT_GT(kept, around * 99 / 100) << "the scene is not drawn around them";
    }
    long moved;
    EXPECT_GT(changed_pixels(
                  shown[0], shown[1], [](int, int, colour_t) { return true; }, &moved),
              300)
        << "the last second does not say GET READY";
    EXPECT_EQ(changed_pixels(
                  shown[2], shown[3], [](int, int, colour_t) { return true; }, &moved),
              0)
        << "no level comes after the fifth";
    // GET READY for the last second whole, not a millisecond before it
    EXPECT_EQ(shown[4].pixels, shown[1].pixels);
    EXPECT_EQ(shown[5].pixels, shown[0].pixels);
}

// With no picture set the menu, the background and the summary are dark, the menu
// names both choices with the one Enter takes marked, and the HUD reads white on dark.
TEST(Drawing, WithoutPicturesTheScreensAreDarkAndTheMenuSaysItsChoices) {
    NEED_WINDOW();
    load_scene(false);
    render_assets_t kept = render_assets;
    render_assets.background_tex = render_assets.gameover_tex = 0;
    render_assets.playgame_tex = render_assets.exitgame_tex = 0;
    auto count = [](const frame_t& f, bool (*what)(colour_t)) {
        long n = 0;
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++)
                n += what(f.at(x, y));
        return n;
    };
    auto    white = [](colour_t c) { return c.r > 200 && c.g > 200 && c.b > 200; };
    frame_t menu[2];
    for (int choice : {0, 1}) {
        SCOPED_TRACE(choice);
        game.flow.menu_selection = choice;
        menu[choice] = screen(draw_menu);
        EXPECT_GT(count(menu[choice], is_dark), (long)W * H * 9 / 10);
        EXPECT_GT(count(menu[choice], white), 100) << "the menu's words are not drawn";
    }
    long moved = 0;
    changed_pixels(
        menu[0], menu[1], [](int, int, colour_t) { return true; }, &moved);
    EXPECT_GT(moved, 50) << "the marked choice does not move with the selection";
    frame_t background = screen([] {
        draw_background();
        render_begin_scene();
        draw_hud();
        render_finish_scene();
        glPopMatrix();
    });
    EXPECT_GT(count(background, is_dark), (long)W * H * 9 / 10);
    EXPECT_GT(count(background, white), 200) << "the HUD cannot be read";
    game.flow.menu_selection = 0;
    render_assets = kept;
}

TEST(Texture, WidePictureReadsBackUnsheared) {
    NEED_WINDOW();
    // the 1366x768 picture size: rows of 4098 bytes, no multiple of four; each band
    // of rows its own colour, with a white bar that steps right band by band
    const int w = 1366, h = 768, band_rows = h / 16;
    auto      expected = [](int band, bool bar) {
        return bar ? colour_t{255, 255, 255} : colour_t{band * 15, 240 - band * 15, 40 + band * 13};
    };
    std::vector<uint8_t> pic((size_t)w * h * 3);
    for (size_t p = 0; p < (size_t)w * h; p++) {
        int      band = (int)(p / w) / band_rows, x = (int)(p % w);
        colour_t c = expected(band, x >= band * 80 && x < band * 80 + 80);
        pic[p * 3] = (uint8_t)c.r, pic[p * 3 + 1] = (uint8_t)c.g, pic[p * 3 + 2] = (uint8_t)c.b;
    }
    ASSERT_NE(upload_texture(w, h, pic.data()), 0u);
    GLint                tw = 0, th = 0;
    std::vector<uint8_t> tex = bound_texels(&tw, &th);
    ASSERT_TRUE(tw > 0 && th > 0);
    // GLU rescales both sides; texels near a band's or a bar's edge are blends
    double kx = (double)tw / w, ky = (double)th / h;
    int    wrong = 0, checked = 0;
    for (int y = 0; y < th; y++) {
        double src_y = (y + 0.5) / ky;
        int    band = (int)(src_y / band_rows);
        double in_band = src_y - band * band_rows;
        if (in_band < 3 / ky || in_band > band_rows - 3 / ky)
            continue;
        double bar0 = band * 80 * kx, bar1 = (band * 80 + 80) * kx;
        for (int x = 0; x < tw; x++) {
            bool inside = x > bar0 + 2 && x < bar1 - 3, outside = x < bar0 - 3 || x > bar1 + 2;
            if (!inside && !outside)
                continue;
            colour_t       e = expected(band, inside);
            const uint8_t* t = &tex[((size_t)y * tw + x) * 3];
            checked++;
            if ((abs(t[0] - e.r) > 4 || abs(t[1] - e.g) > 4 || abs(t[2] - e.b) > 4) && wrong++ < 5)
                ADD_FAILURE() << "texel " << x << "," << y << " is " << colour_t{t[0], t[1], t[2]} << ", not " << e;
        }
    }
    EXPECT_GT(checked, tw * th / 2);
    EXPECT_EQ(wrong, 0);
}

TEST(Texture, PictureBytesTenTwentyThirtyGiveRedThirtyFirst) {
    NEED_WINDOW();
    std::vector<uint8_t> bytes = {10, 20, 30};
    while (bytes.size() < 4 * 4 * 3)
        bytes.insert(bytes.end(), {200, 100, 50});
    glBindTexture(GL_TEXTURE_2D, upload_texture(4, 4, read_picture(file_of(bytes), 4, 4).data()));
    GLint                tw = 0, th = 0;
    std::vector<uint8_t> tex = bound_texels(&tw, &th);
    ASSERT_EQ(tw * th, 16);
    EXPECT_EQ(std::vector<uint8_t>(tex.begin(), tex.begin() + 6), (std::vector<uint8_t>{30, 20, 10, 50, 100, 200}));
}

TEST(Texture, LoadingSetsBlendingAndModulate) {
    NEED_WINDOW();
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glDisable(GL_TEXTURE_2D);
    std::vector<uint8_t> pic(8 * 8 * 3, 90);
    GLuint               name = upload_texture(8, 8, pic.data());
    EXPECT_NE(name, 0u);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0, dst = 0, mode = 0, min_filter = 0, bound = 0, unpack = 0, smallest = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &smallest);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_EQ(min_filter, GL_LINEAR_MIPMAP_NEAREST);
    // the new texture stays bound, texturing stays off, other uploads see the default
    EXPECT_EQ((GLuint)bound, name);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(unpack, 4);
    // a full chain down to one texel
    EXPECT_EQ(smallest, 1);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// A picture of another size and shape than the window fills the whole window on
// every screen that shows one: menu, summary, and play's background copied or drawn.
TEST(Drawing, APictureOfAnotherSizeIsStretchedOverTheWholeScreen) {
    NEED_WINDOW();
    load_scene(false);
    render_assets_t kept = render_assets;
    bool            reference = renderer.reference_drawing;
    // half as wide and twice as tall as the window, a colour a quarter, rows bottom first
    const int            w = W / 2, h = H * 2;
    const colour_t       quarter[2][2] = {{{200, 30, 30}, {30, 200, 30}}, {{30, 30, 200}, {200, 200, 30}}};
    std::vector<uint8_t> pic((size_t)w * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            colour_t c = quarter[y * 2 / h][x * 2 / w];
            uint8_t* p = &pic[((size_t)y * w + x) * 3];
            p[0] = (uint8_t)c.r, p[1] = (uint8_t)c.g, p[2] = (uint8_t)c.b;
        }
    uint32_t picture = upload_texture(w, h, pic.data());
    render_assets.background_tex = render_assets.gameover_tex = picture;
    render_assets.playgame_tex = render_assets.exitgame_tex = picture;
    auto expect_stretched = [&](const frame_t& f, const char* name) {
        // near each corner of the window, and either side of the middle lines
        for (int row = 0; row < 2; row++)
            for (int col = 0; col < 2; col++)
                for (double inset : {0.04, 0.46}) {
                    int      x = (int)(col ? W * (1 - inset) : W * inset), y = (int)(row ? H * (1 - inset) : H * inset);
                    colour_t got = f.at(x, y), want = quarter[row][col];
                    EXPECT_TRUE(abs(got.r - want.r) < 8 && abs(got.g - want.g) < 8 && abs(got.b - want.b) < 8)
                        << name << " at " << x << "," << y << ": " << got << ", not " << want;
                }
    };
    expect_stretched(screen(draw_menu), "menu");
    expect_stretched(screen(draw_summary), "summary");
    // the copy notes the far tiles it hides; the drawn quad does not
    static bool copied;
    for (bool drawn : {false, true}) {
        renderer.reference_drawing = drawn;
        frame_t f = screen([] {
            draw_background();
            copied = renderer.frame.background_hides_far_tiles;
        });
        EXPECT_EQ(copied, !drawn);
        expect_stretched(f, drawn ? "background drawn" : "background copied");
    }
    renderer.reference_drawing = reference;
    render_assets = kept;
}
