// The GL driver in a window of its own: frames read back from the back buffer,
// textures read back from GL.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "app/keys.h"
#include "assets/picture.h"
#include "assets/startup.h"
#include "game/motion.h"
#include "render/levelmap.h"
#include "render/render.h"
#include "support.h"

namespace {

const int W = 640;
const int H = 480;

void no_display() {}

// One window for the whole run; false when there is no X display to open it on.
bool open_gl_window() {
    static int state = 0;   // 0 not tried, 1 open, 2 no display
    if (state == 0) {
        // Xvfb may refuse a connection made right after another client left; the
        // probe is tried again, and kept open so GLUT does not follow a close
        Display* dpy = nullptr;
        for (int attempt = 0; attempt < 20 && getenv("DISPLAY") && !dpy; attempt++) {
            dpy = XOpenDisplay(nullptr);
            if (!dpy)
                usleep(50000);
        }
        if (!dpy) {
            state = 2;
            return false;
        }
        usleep(50000);
        int argc = 1;
        char name[] = "test_drawing";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowPosition(0, 0);
        glutInitWindowSize(W, H);
        glutCreateWindow("Quovix drawing test");
        glutDisplayFunc(no_display);
        for (int i = 0; i < 10; i++)
            glutMainLoopEvent();
        glViewport(0, 0, W, H);
        XCloseDisplay(dpy);
        state = 1;
    }
    return state == 1;
}

#define NEED_WINDOW()                       \
    if (!open_gl_window())                  \
        GTEST_SKIP() << "no X display";

struct rgb {
    int r, g, b;
};

struct frame {
    std::vector<uint8_t> pixels;   // bottom row first, as GL reads them
    GLdouble model[16], proj[16];
    GLint    view[4];
    rgb at(int x, int y) const {
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
    rgb colour_of(double x, double y, double z) const {
        int px, py;
        if (!place(x, y, z, &px, &py))
            return {-1, -1, -1};
        return at(px, py);
    }
};

const float TILE = 1.0f / 240;
const float CUBE = TILE - 0.0016f;   // half the edge of a tile cube
float centre(int i) { return i * TILE + 0.5f * TILE; }

// Floor on rows 0-9, the finish on rows 10-13, nothing beyond; a wall on the
// ship's column at row 5 when asked for.
std::string scene_level(bool wall) {
    std::vector<level_edit> rows;
    for (int r = 10; r < 14; r++)
        rows.push_back({r, ".FFFFF."});
    for (int r = 14; r < 240; r++)
        rows.push_back({r, "......."});
    if (wall)
        rows.push_back({5, ".#W###."});
    return plain_level(rows, false);
}

// Start-up in a play folder holding the level, as the game runs it.
void load_scene(bool wall) {
    static std::string bins[2];
    std::string& bin = bins[wall];
    if (bin.empty())
        bin = make_play_folder({scene_level(wall)});
    ASSERT_EQ(chdir(bin.c_str()), 0);
    screen_width = W;
    screen_height = H;
    startup();
    ASSERT_NE(level.pixels, nullptr);
    for (int i = 0; i < 3; i++)
        ship.pos[i] = spawn_point[i];
}

// One frame of play in the game's drawing order, read back before the swap.
frame draw_frame(bool with_hud, bool with_ship) {
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    render_clear();
    render_begin_scene();
    for (int i = 0; i < 3; i++)
        flow.text_anchor[i] = ship.pos[i];
    render_light_on_ship();
    if (with_hud)
        draw_hud();
    draw_track();
    if (with_ship)
        draw_ship();
    frame f;
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

bool is_dark(rgb c) { return c.r >= 0 && c.r < 40 && c.g < 40 && c.b < 40; }
bool is_clear_grey(rgb c) { return abs(c.r - 127) < 6 && abs(c.g - 127) < 6 && abs(c.b - 127) < 6; }
bool differs(rgb a, rgb b) { return abs(a.r - b.r) + abs(a.g - b.g) + abs(a.b - b.b) > 12; }

std::string text(rgb c) {
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

}  // namespace

TEST(Drawing, TrackFinishAndGapsWhereTheTilesAre) {
    NEED_WINDOW();
    load_scene(false);
    frame f = draw_frame(false, false);
    // floor tops on either side of the ship's column, near and far
    for (int row : {1, 4, 8})
        for (int col : {1, 3, 5})
            EXPECT_TRUE(is_dark(f.colour_of(centre(col), centre(row), CUBE)))
                << "floor row " << row << " col " << col << " " << text(f.colour_of(centre(col), centre(row), CUBE));
    // the finish is green
    for (int col : {1, 3, 5}) {
        rgb c = f.colour_of(centre(col), centre(12), CUBE);
        EXPECT_GT(c.g, c.r + 15) << "finish col " << col << " " << text(c);
        EXPECT_GT(c.g, c.b + 15) << "finish col " << col << " " << text(c);
    }
    // gap columns beside the track and the rows past its end show what is behind;
    // looked at level with the floor's top, so no neighbouring cube is in the way
    for (int row : {2, 6})
        for (int col : {0, 6})
            EXPECT_TRUE(is_clear_grey(f.colour_of(centre(col), centre(row), CUBE)))
                << "gap row " << row << " col " << col << " " << text(f.colour_of(centre(col), centre(row), CUBE));
    EXPECT_TRUE(is_clear_grey(f.colour_of(centre(3), centre(40), 0)));
    // nothing above the far end of the track: the top of the window is untouched
    EXPECT_TRUE(is_clear_grey(f.at(W / 2, H - 5)));
}

TEST(Drawing, WallRaisesACubeAboveTheFloor) {
    NEED_WINDOW();
    load_scene(true);
    frame with_wall = draw_frame(false, false);
    load_scene(false);
    frame without = draw_frame(false, false);
    // a point on the front of the raised cube, above the floor's top: the wall
    // hides what lies past the track there
    double x = centre(2), y = centre(5) - CUBE, z = 0.005;
    rgb wall = with_wall.colour_of(x, y, z);
    rgb open = without.colour_of(x, y, z);
    EXPECT_TRUE(is_dark(wall)) << text(wall);
    EXPECT_TRUE(is_clear_grey(open)) << text(open);
    // the top of the raised cube, where a plain floor tile has nothing
    rgb top = with_wall.colour_of(x, centre(5), 0.003 + CUBE);
    EXPECT_TRUE(is_dark(top)) << text(top);
    // the neighbouring floor tile of the same row is not raised
    EXPECT_TRUE(is_clear_grey(with_wall.colour_of(centre(4), centre(5) - CUBE, 0.005)));
}

TEST(Drawing, ShipIsDrawnWhereItIs) {
    NEED_WINDOW();
    load_scene(false);
    frame bare = draw_frame(false, false);
    frame shown = draw_frame(false, true);
    int sx, sy;
    ASSERT_TRUE(shown.place(ship.pos[0], ship.pos[1], ship.pos[2], &sx, &sy));
    long changed = 0, far_off = 0;
    double mx = 0, my = 0;
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            if (!differs(bare.at(x, y), shown.at(x, y)))
                continue;
            changed++;
            mx += x;
            my += y;
            far_off += abs(x - sx) > W / 4 || abs(y - sy) > H / 6;
        }
    }
    ASSERT_GT(changed, 100);
    EXPECT_EQ(far_off, 0);
    EXPECT_NEAR(mx / changed, sx, W / 16.0);
    EXPECT_NEAR(my / changed, sy, H / 16.0);
}

TEST(Drawing, HudTextIsWhiteAtTheTop) {
    NEED_WINDOW();
    load_scene(false);
    frame bare = draw_frame(false, false);
    frame hud = draw_frame(true, false);
    long changed = 0, white = 0, low = 0, left = 0, right = 0;
    for (int y = 0; y < H; y++) {
        for (int x = 0; x < W; x++) {
            if (!differs(bare.at(x, y), hud.at(x, y)))
                continue;
            rgb c = hud.at(x, y);
            changed++;
            white += c.r > 245 && c.g > 245 && c.b > 245;
            low += y < H / 2;
            left += x < W / 3;
            right += x > 2 * W / 3;
        }
    }
    ASSERT_GT(changed, 200);
    EXPECT_EQ(white, changed);
    EXPECT_EQ(low, 0);
    // time on the left, stars and lives on the right
    EXPECT_GT(left, 50);
    EXPECT_GT(right, 50);
}

TEST(Texture, WidePictureReadsBackUnsheared) {
    NEED_WINDOW();
    // the 1366x768 picture size: rows of 4098 bytes, no multiple of four
    const int w = 1366, h = 768, bands = 16, band_rows = h / bands;
    // each band of rows its own colour, with a white bar that steps right band by band
    auto expected = [](int band, bool bar, int rgb[3]) {
        rgb[0] = bar ? 255 : band * 15;
        rgb[1] = bar ? 255 : 240 - band * 15;
        rgb[2] = bar ? 255 : 40 + band * 13;
    };
    std::vector<uint8_t> pic((size_t)w * h * 3);
    for (int y = 0; y < h; y++) {
        int band = y / band_rows;
        for (int x = 0; x < w; x++) {
            int c[3];
            expected(band, x >= band * 80 && x < band * 80 + 80, c);
            for (int i = 0; i < 3; i++)
                pic[((size_t)y * w + x) * 3 + i] = (uint8_t)c[i];
        }
    }
    GLuint name = upload_texture(w, h, pic.data());
    ASSERT_NE(name, 0u);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint tw = 0, th = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    ASSERT_GT(tw, 0);
    ASSERT_GT(th, 0);
    std::vector<uint8_t> tex((size_t)tw * th * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, tex.data());
    // GLU rescales both sides; texels near a band's or a bar's edge are blends
    double kx = (double)tw / w, ky = (double)th / h;
    int wrong = 0, checked = 0;
    for (int y = 0; y < th; y++) {
        double src_y = (y + 0.5) / ky;
        int band = (int)(src_y / band_rows);
        double in_band = src_y - band * band_rows;
        if (in_band < 3 / ky || in_band > band_rows - 3 / ky)
            continue;
        double bar0 = band * 80 * kx, bar1 = (band * 80 + 80) * kx;
        for (int x = 0; x < tw; x++) {
            bool inside = x > bar0 + 2 && x < bar1 - 3;
            bool outside = x < bar0 - 3 || x > bar1 + 2;
            if (!inside && !outside)
                continue;
            int e[3];
            expected(band, inside, e);
            const uint8_t* t = &tex[((size_t)y * tw + x) * 3];
            checked++;
            if (abs(t[0] - e[0]) > 4 || abs(t[1] - e[1]) > 4 || abs(t[2] - e[2]) > 4) {
                if (wrong++ < 5)
                    ADD_FAILURE() << "texel " << x << "," << y << " is " << (int)t[0] << "," << (int)t[1] << ","
                                  << (int)t[2] << ", not " << e[0] << "," << e[1] << "," << e[2];
            }
        }
    }
    EXPECT_GT(checked, tw * th / 2);
    EXPECT_EQ(wrong, 0);
}

TEST(Texture, PictureBytesTenTwentyThirtyGiveRedThirtyFirst) {
    NEED_WINDOW();
    std::vector<uint8_t> bytes(4 * 4 * 3);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        bytes[i] = 200;
        bytes[i + 1] = 100;
        bytes[i + 2] = 50;
    }
    bytes[0] = 10;
    bytes[1] = 20;
    bytes[2] = 30;
    FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    ASSERT_NE(f, nullptr);
    GLuint name = load_texture(4, 4, f);
    glBindTexture(GL_TEXTURE_2D, name);
    uint8_t tex[4 * 4 * 3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, tex);
    EXPECT_EQ(tex[0], 30);
    EXPECT_EQ(tex[1], 20);
    EXPECT_EQ(tex[2], 10);
    EXPECT_EQ(tex[3], 50);
    EXPECT_EQ(tex[4], 100);
    EXPECT_EQ(tex[5], 200);
}

TEST(Texture, LoadingSetsBlendingAndModulate) {
    NEED_WINDOW();
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glDisable(GL_TEXTURE_2D);
    std::vector<uint8_t> pic(8 * 8 * 3, 90);
    GLuint name = upload_texture(8, 8, pic.data());
    EXPECT_NE(name, 0u);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0, dst = 0, mode = 0, min_filter = 0, bound = 0, unpack = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_EQ(min_filter, GL_LINEAR_MIPMAP_NEAREST);
    // the new texture stays bound, texturing stays off, other uploads see the default
    EXPECT_EQ((GLuint)bound, name);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(unpack, 4);
    // a full chain down to one texel
    GLint smallest = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &smallest);
    EXPECT_EQ(smallest, 1);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}
