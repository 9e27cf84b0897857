// Frame begin and end, the view set up by start-up, the light over the ship.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include "game/state.h"
#include "platform/platform.h"
#include "render/materials.h"
#include "render/render.h"
#include "render/render_local.h"

renderer_t renderer = {platform_setting_on("QUOVIX_REFERENCE_DRAWING"), {}, false};

// The one place a frame's notes are cleared: after its swap, and after the warm-up drawing.
static void clear_frame_notes() { renderer.frame = frame_notes_t{}; }

void render_clear(bool background_in_frame) {
    // a copied background writes every pixel and clears the depth itself
    if (!background_in_frame || !background_is_copied())
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void render_begin_scene() {
    glPushMatrix();
    glRotatef(90 - game.ship.heading, 0, 0, 1);
    glTranslatef(-game.ship.pos[0], -game.ship.pos[1], -game.ship.pos[2]);
}

// What play draws, in the play codes' order, over the scene and without the frame's end.
static void draw_play_scene() {
    render_begin_scene();
    draw_hud();
    draw_background();
    draw_track();
    draw_ship();
    render_finish_scene();
    glPopMatrix();
}

// Once the pictures are built: every drawing of play run into the back buffer, which
// the next frame clears, so the renderer has its paths ready before play starts.
static void warm_up_play_drawing() {
    static bool warm = false;
    if (warm || renderer.reference_drawing)
        return;
    warm = true;
    draw_play_scene();
    clear_frame_notes();
}

void render_hold_frame() {
    // the frame that began the wait stopped at its forward step, before any drawing: the
    // back buffer is free until the frame goes on, cleared again then
    render_clear(true);
    draw_play_scene();
    draw_level_change();
    draw_screen_notes();
    clear_frame_notes();
    glutSwapBuffers();
    glutPostRedisplay();
}

void render_end_frame() {
    render_finish_scene();
    clear_frame_notes();
    glPopMatrix();
    draw_screen_notes();
    glutSwapBuffers();
    // between menu frames, one piece of start-up's work a frame: the font's picture, each
    // picture's mipmaps, then the background's copy and play drawn once, before play asks for them
    if (make_put_off_text_stamps())
        ;
    else if (build_a_waiting_texture())
        prepare_background_copy();
    else if (!pictures_waiting())
        warm_up_play_drawing();
    glutPostRedisplay();
}

static void setup_light(GLenum light) {
    static const GLfloat position[4] = {0.7f, 0.7f, 0.4f, 1.0f};
    static const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_DIFFUSE, white);
    glLightfv(light, GL_AMBIENT, white);
    glLightfv(light, GL_SPECULAR, white);
    glEnable(light);
}

static void set_projection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // the aspect is the integer quotient of the screen size, as the game always had it;
    // on a portrait screen that quotient is 0, which draws nothing, so the true ratio is used
    int    height = view_height > 0 ? view_height : 1;
    double aspect = view_width / height;
    if (aspect == 0)
        aspect = view_width > 0 ? (double)view_width / height : 1.0;
    gluPerspective(30, aspect, 0.01, 1.0);
    gluLookAt(0, -0.06, 0.006, 0, 0, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
}

void render_view_resized() {
    glViewport(0, 0, view_width, view_height);
    set_projection();
}

void render_setup_view() {
    set_projection();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    setup_light(GL_LIGHT0);
    setup_light(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
}

const char* render_gl_version() {
    const GLubyte* version = glGetString(GL_VERSION);
    return version ? (const char*)version : "";
}

void render_light_on_ship() {
    const float* ship_pos = game.ship.pos;
    GLfloat      position[4] = {ship_pos[0], ship_pos[1], ship_pos[2] + 0.01f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glMaterialfv(GL_FRONT, GL_EMISSION, NEAR_BLACK);
}
