// White bitmap text placed in the 3-D scene: GLUT's bitmaps in the reference drawing,
// stamped from the font's picture in the fast one.
#include "render/text.h"

#include <GL/freeglut.h>

#include "game/state.h"
#include "render/numbers.h"
#include "render/render.h"
#include "render/render_local.h"

void draw_text(const char* text) {
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
