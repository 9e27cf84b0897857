// The track: one or two lit cubes per tile, stars and hearts spinning above.
#include <GL/gl.h>

#include "game/levelmap.h"
#include "game/state.h"
#include "render/materials.h"
#include "render/render.h"
#include "render/render_local.h"

const GLfloat finish_green[4] = {0.0001f, 0.1f, 0.0001f, 1.0f};
const GLfloat star_diffuse[4] = {0.5f, 1.0f, 0.0f, 1.0f};
const GLfloat star_glow[4] = {0.85f, 0.53f, 0.1f, 1.0f};
const GLfloat heart_diffuse[4] = {0.75f, 0.0001f, 0.0001f, 1.0f};
const GLfloat heart_glow[4] = {0.1f, 0.0001f, 0.0001f, 1.0f};

const GLfloat cube_normal[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {1, 0, 0}, {-1, 0, 0}, {0, 0, -1}};
const GLfloat cube_corner[6][4][3] = {
    {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}},     {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}},
    {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},     {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}},
    {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
};

float tile_centre(int i, float h) { return i / h + 0.5f / h; }
float tile_cube_size(float h) { return 1 / h - 0.0016f; }

static void tile_cube() {
    static const GLfloat texcoord[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    glBegin(GL_QUADS);
    for (int f = 0; f < 6; f++) {
        glNormal3fv(cube_normal[f]);
        for (int c = 0; c < 4; c++) {
            glTexCoord2fv(texcoord[c]);
            glVertex3fv(cube_corner[f][c]);
        }
    }
    glEnd();
}

static void cube_at(float x, float y, float z, float size) {
    glPushMatrix();
    glTranslatef(x, y, z);
    glScalef(size, size, size);
    tile_cube();
    glPopMatrix();
}

void pickup_at(float x, float y, uint32_t list) {
    glPushMatrix();
    glTranslatef(x, y, 0.0033f);
    glRotatef(game.flow.pickup_spin, 0, 0, 1);
    glCallList(list);
    glPopMatrix();
}

// A star or heart spinning over its floor cube.
static void pickup_tile(float x, float y, float size, const GLfloat* diffuse, const GLfloat* glow, uint32_t list) {
    set_material(diffuse, glow);
    pickup_at(x, y, list);
    set_material(NEAR_BLACK, NEAR_BLACK);
    cube_at(x, y, 0, size);
}

static void draw_tile_straight(int r, int c) {
    const level_map_t& level = game.level;
    float              h = (float)level.height;
    float              size = tile_cube_size(h);
    float              x = tile_centre(c, h);
    float              y = tile_centre(r, h);
    switch (tile_kind_at(r * level.line_length + c * 3)) {
    case TILE_FLOOR:
        set_material(NEAR_BLACK, NEAR_BLACK);
        cube_at(x, y, 0, size);
        break;
    case TILE_FINISH:
        set_material(finish_green, NEAR_BLACK);
        cube_at(x, y, 0, size);
        break;
    case TILE_WALL:
        set_material(NEAR_BLACK, NEAR_BLACK);
        cube_at(x, y, WALL_LIFT, size);
        cube_at(x, y, 0, size);
        break;
    case TILE_STAR: pickup_tile(x, y, size, star_diffuse, star_glow, render_assets.star_list); break;
    case TILE_HEART: pickup_tile(x, y, size, heart_diffuse, heart_glow, render_assets.heart_list); break;
    case TILE_GAP: break;
    }
}

void draw_track_reference() {
    glPushMatrix();
    for (int r = 0; r < game.level.height; r++) {
        for (int c = 0; c < game.level.width; c++)
            draw_tile_straight(r, c);
    }
    glPopMatrix();
}
