// Text and the head-up display.
#include "render/text.h"

#include <GL/freeglut.h>

#include "game/state.h"
#include "game/timer.h"
#include "render/numbers.h"
#include "render/render.h"
#include "render/render_local.h"

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

void draw_hud_text() {
    const game_flow_t& flow = game.flow;
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    draw_labelled_value(flow.stars_collected, 0.008f, 0.012f, "Collected Stars: ");
    int64_t seconds = flow.on_finish ? flow.frozen_seconds : (int64_t)timer_elapsed_seconds();
    draw_labelled_value((int32_t)seconds, -0.011f, 0.012f, "Time: ");
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, 's');
    draw_labelled_value(flow.current_level, -0.0007f, 0.014f, "Level ");
    draw_labelled_value(flow.lives, 0.008f, 0.011f, "Lives: ");
    glEnable(GL_LIGHTING);
    glPopMatrix();
}
