// White bitmap text placed in the 3-D scene: GLUT's bitmaps in the reference drawing,
// stamped from the font's picture in the fast one.
#include "render/text.h"

#include <GL/freeglut.h>
#include <algorithm>

#include "game/state.h"
#include "platform/platform.h"
#include "render/numbers.h"
#include "render/render.h"
#include "render/render_local.h"

// Large text's letters are this share of the screen's height.
static const double LARGE_TEXT_HEIGHT = 1.0 / 36;
// The stroke font's capitals stand about this many of its units high.
static const double STROKE_CAPITAL_UNITS = 100.0;
#define LARGE_FONT GLUT_STROKE_ROMAN

static double large_text_scale() { return view_height * LARGE_TEXT_HEIGHT / STROKE_CAPITAL_UNITS; }

int text_width(const char* text) {
    if (renderer.large_text)
        return (int)(glutStrokeLength(LARGE_FONT, (const unsigned char*)text) * large_text_scale());
    return glutBitmapLength(TEXT_FONT, (const unsigned char*)text);
}

void push_screen_pixels() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, view_width, 0, view_height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void pop_screen_pixels() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// Lines drawn from the raster position in the colour set for it, which then moves on past them as a bitmap's would.
static void draw_large_text(const char* text) {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid)
        return;
    GLfloat at[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, at);
    double scale = large_text_scale();
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glLineWidth((GLfloat)std::max(1.0, scale * 10));
    push_screen_pixels();
    glTranslated(at[0], at[1], 0);
    glScaled(scale, scale, 1);
    for (const char* p = text; *p; p++)
        glutStrokeCharacter(LARGE_FONT, *p);
    pop_screen_pixels();
    glPopAttrib();
    glBitmap(0, 0, 0, 0, (GLfloat)text_width(text), 0, nullptr);
}

void draw_text(const char* text) {
    if (renderer.large_text) {
        draw_large_text(text);
        return;
    }
    if (!renderer.reference_drawing && stamp_text(text))
        return;
    for (const char* p = text; *p; p++)
        glutBitmapCharacter(TEXT_FONT, (signed char)*p);
}

void draw_labelled_value(int32_t value, float dx, float dz, const char* label, const char* unit) {
    const float* anchor = game.flow.text_anchor;
    glRasterPos3f(anchor[0] + dx, anchor[1], anchor[2] + dz);
    draw_text((label + format_int(value) + unit).c_str());
}

void draw_labelled_pair(int32_t a, int32_t b, float x, float y, float z, const char* label_a, const char* label_b) {
    glRasterPos3f(x, y, z);
    draw_text((label_a + format_int(a) + label_b + format_int(b)).c_str());
}
