#include "app/window.h"

#include <GL/freeglut.h>
#include <cstdio>

#include "app/frame.h"
#include "app/keys.h"
#include "app/pace.h"
#include "platform/platform.h"
#include "render/render.h"

static void display() {
    run_frame();
    pace_window_frame();
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
    pace_window_start();
    glutDisplayFunc(display);
    glutKeyboardFunc(key_down);
    glutKeyboardUpFunc(key_up);
    return true;
}

void run_main_loop() { glutMainLoop(); }
