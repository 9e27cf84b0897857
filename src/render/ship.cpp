// The ship, banked by the steering keys held.
#include <GL/gl.h>

#include "game/state.h"
#include "render/materials.h"
#include "render/render.h"

// How much of the ghost's colour shows over what is behind it.
static const GLfloat GHOST_ALPHA = 0.35f;

static uint32_t model_banked(int bank) {
    if (bank == BANK_RIGHT)
        return render_assets.ship_right_list;
    if (bank == BANK_LEFT)
        return render_assets.ship_left_list;
    return render_assets.ship_list;
}

static void ship_model_at(const float* pos, float heading, uint32_t model) {
    glPushMatrix();
    glTranslatef(pos[0], pos[1], pos[2]);
    glRotatef(heading, 0, 0, 1);
    glRotatef(90, 1, 0, 0);
    glScalef(0.05f, 0.05f, 0.05f);
    glCallList(model);
    glPopMatrix();
}

// Light blue and see-through, writing no depth: the ship stays whole where they meet.
static void draw_ghost() {
    static const GLfloat ghost_blue[4] = {0.45f, 0.7f, 1.0f, GHOST_ALPHA};
    static const GLfloat ghost_glow[4] = {0.15f, 0.25f, 0.4f, GHOST_ALPHA};
    const ghost_pose_t&  ghost = records_view.ghost;
    GLboolean            blending = glIsEnabled(GL_BLEND);
    set_material(ghost_blue, ghost_glow);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    ship_model_at(ghost.pos, ghost.heading, model_banked(ghost.bank));
    glDepthMask(GL_TRUE);
    if (!blending)
        glDisable(GL_BLEND);
}

void draw_ship() {
    static const GLfloat dark_grey[4] = {0.05f, 0.05f, 0.05f, 1.0f};
    set_material(dark_grey, NEAR_BLACK);
    const ship_t& ship = game.ship;
    bool          controls = !game.flow.on_finish && !ship.falling;
    ship_model_at(ship.pos, ship.heading, model_banked(controls ? ship.bank : BANK_NONE));
    if (records_view.ghost.shown)
        draw_ghost();
}
