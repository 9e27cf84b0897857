// Text stamped from a picture of the font: every printable letter drawn once by GLUT into
// a framebuffer and kept as a texture, with where its lit pixels lie from the raster
// position. The GL turns each run of bitmaps into a texture and a draw of its own; a string
// stamped is one draw that lights the same pixels in the same colour at the same depth.
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>
#include <cmath>
#include <vector>

#include "render/render_local.h"

static const int FIRST = 32, LAST = 126;   // the printable letters
static const int CELL = 32;                // a letter's square in the picture, room to spare each way
static const int ORIGIN = 8;               // the raster position within its square

// A letter's lit pixels: their box from the floor of the raster position, and in the picture.
struct stamp_t {
    int dx, dy, width, height;
    int picture_x, picture_y;
    int advance;
};
static stamp_t stamps[LAST - FIRST + 1];
static GLuint  font_picture;
static int     picture_width;
static int     font_state;   // 0 not made yet, 1 made, -1 cannot be: the bitmaps are drawn instead

// Each letter in its square, once at a whole raster position and once half a pixel on
// both ways, read back as lit or not.
static bool draw_letters_aside(int width, int height, std::vector<uint8_t>* lit) {
    aside_frame_t aside;
    bool          made = begin_aside(width, height, false, &aside);
    if (made) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, width, 0, height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glViewport(0, 0, width, height);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        for (int half = 0; half < 2; half++)
            for (int c = FIRST; c <= LAST; c++) {
                glRasterPos2f((c - FIRST) * CELL + ORIGIN + half * 0.5f, half * CELL + ORIGIN + half * 0.5f);
                glutBitmapCharacter(TEXT_FONT, c);
            }
        lit->resize((size_t)width * height);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RED, GL_UNSIGNED_BYTE, lit->data());
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopClientAttrib();
        glPopAttrib();
    }
    end_aside(&aside);
    return made;
}

// Letter c's box of lit pixels from the given half's raster position; false when a pixel
// lies on its square's edge, where it may belong to the square beside it.
static bool find_stamp(const std::vector<uint8_t>& lit, int c, int half, stamp_t* s) {
    int x0 = (c - FIRST) * CELL, y0 = half * CELL;
    int lo[2] = {CELL, CELL}, hi[2] = {-1, -1};
    for (int y = 0; y < CELL; y++)
        for (int x = 0; x < CELL; x++) {
            if (!lit[(size_t)(y0 + y) * picture_width + x0 + x])
                continue;
            if (x == 0 || y == 0 || x == CELL - 1 || y == CELL - 1)
                return false;
            lo[0] = x < lo[0] ? x : lo[0], hi[0] = x > hi[0] ? x : hi[0];
            lo[1] = y < lo[1] ? y : lo[1], hi[1] = y > hi[1] ? y : hi[1];
        }
    if (hi[0] < 0)
        lo[0] = lo[1] = ORIGIN, hi[0] = hi[1] = ORIGIN - 1;
    *s = {lo[0] - ORIGIN,
          lo[1] - ORIGIN,
          hi[0] - lo[0] + 1,
          hi[1] - lo[1] + 1,
          x0 + lo[0],
          y0 + lo[1],
          glutBitmapWidth(TEXT_FONT, c)};
    return true;
}

// The same lit pixels from a raster position half a pixel on: the letter lands by the
// floor of the position alone, which is what stamping it assumes.
static bool lands_by_the_floor(const std::vector<uint8_t>& lit, int c, const stamp_t& whole) {
    stamp_t half;
    if (!find_stamp(lit, c, 1, &half) || half.dx != whole.dx || half.dy != whole.dy || half.width != whole.width ||
        half.height != whole.height)
        return false;
    for (int y = 0; y < whole.height; y++)
        for (int x = 0; x < whole.width; x++)
            if (lit[(size_t)(whole.picture_y + y) * picture_width + whole.picture_x + x] !=
                lit[(size_t)(half.picture_y + y) * picture_width + half.picture_x + x])
                return false;
    return true;
}

static bool make_font_picture() {
    picture_width = (LAST - FIRST + 1) * CELL;
    std::vector<uint8_t> lit;
    if (!draw_letters_aside(picture_width, 2 * CELL, &lit))
        return false;
    for (int c = FIRST; c <= LAST; c++)
        if (!find_stamp(lit, c, 0, &stamps[c - FIRST]) || !lands_by_the_floor(lit, c, stamps[c - FIRST]))
            return false;
    glGenTextures(1, &font_picture);
    glBindTexture(GL_TEXTURE_2D, font_picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // the whole-position row only: lit pixels opaque, the rest of each box see-through
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, picture_width, CELL, 0, GL_ALPHA, GL_UNSIGNED_BYTE, lit.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return true;
}

// Start-up's first frame draws its text as bitmaps: the picture costs as long as a frame.
static bool put_off_at_start;

static bool font_is_ready() {
    if (put_off_at_start)
        return false;
    if (font_state == 0)
        font_state = make_font_picture() ? 1 : -1;
    return font_state == 1;
}

void render_make_text_stamps_later() { put_off_at_start = true; }

bool make_put_off_text_stamps() {
    if (!put_off_at_start)
        return false;
    put_off_at_start = false;
    font_is_ready();
    return true;
}

static bool all_stampable(const char* text) {
    for (const char* p = text; *p; p++)
        if ((unsigned char)*p < FIRST || (unsigned char)*p > LAST)
            return false;
    return true;
}

// Each letter's box as a quad on whole pixels, at the raster position's depth as a bitmap
// has it; how far the raster position moves on.
static int stamp_letters(const char* text, const float raster[4]) {
    float z = 1 - 2 * raster[2];   // the window depth through the ortho view below, depth range whole
    float x = raster[0];
    float y = floorf(raster[1]);
    int   advance = 0;
    glBegin(GL_QUADS);
    for (const char* p = text; *p; p++) {
        const stamp_t& s = stamps[(unsigned char)*p - FIRST];
        if (s.width > 0) {
            float left = floorf(x) + s.dx, bottom = y + s.dy;
            float s0 = (float)s.picture_x / picture_width, s1 = (float)(s.picture_x + s.width) / picture_width;
            float t0 = (float)s.picture_y / CELL, t1 = (float)(s.picture_y + s.height) / CELL;
            glTexCoord2f(s0, t0);
            glVertex3f(left, bottom, z);
            glTexCoord2f(s1, t0);
            glVertex3f(left + s.width, bottom, z);
            glTexCoord2f(s1, t1);
            glVertex3f(left + s.width, bottom + s.height, z);
            glTexCoord2f(s0, t1);
            glVertex3f(left, bottom + s.height, z);
        }
        x += s.advance;
        advance += s.advance;
    }
    glEnd();
    return advance;
}

bool stamp_text(const char* text) {
    if (!font_is_ready() || !all_stampable(text))
        return false;
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    // a raster position out of view draws no bitmap and moves on none
    if (!valid)
        return true;
    float raster[4], colour[4];
    GLint view[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    glGetIntegerv(GL_VIEWPORT, view);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(view[0], view[0] + view[2], view[1], view[1] + view[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDepthRange(0, 1);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, font_picture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glColor4fv(colour);
    int advance = stamp_letters(text, raster);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    // the raster position moves on as the bitmaps would have moved it
    glBitmap(0, 0, 0, 0, (float)advance, 0, nullptr);
    return true;
}
