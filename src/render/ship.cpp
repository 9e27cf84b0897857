// The ship, banked by the steering keys held.
#include <GL/gl.h>

#include "game/state.h"
#include "render/materials.h"
#include "render/render.h"

static uint32_t chosen_model() {
    bool controls = !game.flow.on_finish && !game.ship.falling;
    if (game.ship.bank == BANK_RIGHT && controls)
        return render_assets.ship_right_list;
    if (game.ship.bank == BANK_LEFT && controls)
        return render_assets.ship_left_list;
    return render_assets.ship_list;
}

void draw_ship() {
    static const GLfloat dark_grey[4] = {0.05f, 0.05f, 0.05f, 1.0f};
    set_material(dark_grey, NEAR_BLACK);
    glPushMatrix();
    const ship_t& ship = game.ship;
    glTranslatef(ship.pos[0], ship.pos[1], ship.pos[2]);
    glRotatef(ship.heading, 0, 0, 1);
    glRotatef(90, 1, 0, 0);
    glScalef(0.05f, 0.05f, 0.05f);
    glCallList(chosen_model());
    glPopMatrix();
}
