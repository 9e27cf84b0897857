// The head-up display: stars, time, level and lives in white over play.
#include <GL/freeglut.h>

#include "game/state.h"
#include "game/timer.h"
#include "render/render.h"
#include "render/render_local.h"
#include "render/text.h"

static void draw_hud_text() {
    const game_flow_t& flow = game.flow;
    glPushMatrix();
    glDisable(GL_LIGHTING);
    // over the track and the ship: a fall looks through the track, and the lives must read then
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    draw_labelled_value(flow.stars_collected, 0.008f, 0.012f, "Collected Stars: ");
    int64_t seconds = flow.on_finish ? flow.frozen_seconds : (int64_t)timer_elapsed_seconds();
    draw_labelled_value((int32_t)seconds, -0.011f, 0.012f, "Time: ", "s");
    draw_labelled_value(flow.current_level, -0.0007f, 0.014f, "Level ");
    draw_labelled_value(flow.lives, 0.008f, 0.011f, "Lives: ");
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

// Noted where the play codes ask for it, drawn once the scene is: nothing of play covers it.
void draw_hud() { renderer.frame.hud_asked = true; }

void render_finish_scene() {
    if (renderer.frame.hud_asked)
        draw_hud_text();
    renderer.frame.hud_asked = false;
}
