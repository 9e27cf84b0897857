// White bitmap text placed in the 3-D scene.
#include "render/text.h"

#include <GL/freeglut.h>

#include "game/state.h"
#include "render/numbers.h"

void draw_text(const char* text) {
    for (const char* p = text; *p; p++)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, (signed char)*p);
}

void draw_labelled_value(int32_t value, float dx, float dz, const char* label) {
    const float* anchor = game.flow.text_anchor;
    glRasterPos3f(anchor[0] + dx, anchor[1], anchor[2] + dz);
    draw_text(label);
    draw_text(format_int(value).c_str());
}

void draw_labelled_pair(int32_t a, int32_t b, float x, float y, float z, const char* label_a, const char* label_b) {
    glRasterPos3f(x, y, z);
    draw_text(label_a);
    draw_text(format_int(a).c_str());
    draw_text(label_b);
    draw_text(format_int(b).c_str());
}
