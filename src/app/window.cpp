#include "app/window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <cstdio>

#include "app/frame.h"
#include "app/keys.h"
#include "platform/platform.h"
#include "render/render.h"

static void display() {
    keys_follow_focus(platform_window_has_focus(glXGetCurrentDrawable()));
    run_frame();
}

bool open_window(int* argc, char** argv) {
    glutInit(argc, argv);
    // the screen is measured once, before anything is sized from it
    screen_width = glutGet(GLUT_SCREEN_WIDTH);
    screen_height = glutGet(GLUT_SCREEN_HEIGHT);
    if (screen_width <= 0 || screen_height <= 0) {
        printf("ERROR: cannot determine the screen size (%dx%d)\n", screen_width, screen_height);
        return false;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // without a window manager freeglut would leave the window one pixel in
    glutInitWindowPosition(0, 0);
    glutCreateWindow(WINDOW_TITLE);
    glutFullScreen();
    render_follow_display_refresh();
    glutDisplayFunc(display);
    glutKeyboardFunc(key_down);
    glutKeyboardUpFunc(key_up);
    glutSpecialFunc(special_down);
    glutSpecialUpFunc(special_up);
    // a held key is one press: repeats would end a pause or start play again
    glutIgnoreKeyRepeat(1);
    return true;
}

void run_main_loop() { glutMainLoop(); }
