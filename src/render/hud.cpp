// The head-up display: stars, time, level and lives in white over play.
#include <GL/freeglut.h>

#include "game/state.h"
#include "game/timer.h"
#include "render/render.h"
#include "render/render_local.h"
#include "render/text.h"

void draw_hud_text() {
    const game_flow_t& flow = game.flow;
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    draw_labelled_value(flow.stars_collected, 0.008f, 0.012f, "Collected Stars: ");
    int64_t seconds = flow.on_finish ? flow.frozen_seconds : (int64_t)timer_elapsed_seconds();
    draw_labelled_value((int32_t)seconds, -0.011f, 0.012f, "Time: ", "s");
    draw_labelled_value(flow.current_level, -0.0007f, 0.014f, "Level ");
    draw_labelled_value(flow.lives, 0.008f, 0.011f, "Lives: ");
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

void draw_hud() {
    renderer.frame.hud_asked = true;
    // a copied background covers the text and draws it again: drawn once, then
    if (background_is_copied())
        return;
    draw_hud_text();
}
