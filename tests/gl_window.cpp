#include "gl_window.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include "e2e_support.h"

static int opened_width, opened_height;

bool open_test_window(const char* title, int* width, int* height) {
    static int state = 0;   // 0 not tried, 1 open, 2 no display
    if (state == 0) {
        // Xvfb may refuse a connection made right after another client left; the
        // probe is tried again, and kept open until GLUT has its own
        Display* dpy = have_display() ? open_display() : nullptr;
        state = dpy ? 1 : 2;
        if (!dpy)
            return false;
        usleep(50000);
        int   argc = 1;
        char  name[] = "quovix_test";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        bool full_screen = *width == 0 && *height == 0;
        opened_width = full_screen ? glutGet(GLUT_SCREEN_WIDTH) : *width;
        opened_height = full_screen ? glutGet(GLUT_SCREEN_HEIGHT) : *height;
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowPosition(0, 0);
        glutInitWindowSize(opened_width, opened_height);
        glutCreateWindow(title);
        if (full_screen)
            glutFullScreen();
        glutDisplayFunc([] {});
        // a few events at least, until the window has its size
        for (int i = 0; i < 400 && (i < 10 || glutGet(GLUT_WINDOW_WIDTH) != opened_width ||
                                    glutGet(GLUT_WINDOW_HEIGHT) != opened_height);
             i++) {
            glutMainLoopEvent();
            usleep(5000);
        }
        glViewport(0, 0, opened_width, opened_height);
        XCloseDisplay(dpy);
    }
    *width = opened_width;
    *height = opened_height;
    return state == 1;
}

static std::vector<uint8_t>* pixels_at_swap;
static bool                  swaps_hidden;

void read_back_at_next_swap(std::vector<uint8_t>* pixels) { pixels_at_swap = pixels; }
void hide_swaps(bool hidden) { swaps_hidden = hidden; }

std::vector<uint8_t> read_back_now() {
    std::vector<uint8_t> pixels((size_t)opened_width * opened_height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, opened_width, opened_height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Stands in for GLUT's own, which it calls after: the frame is read as drawn, before any swap.
void glutSwapBuffers() {
    if (pixels_at_swap) {
        *pixels_at_swap = read_back_now();
        pixels_at_swap = nullptr;
    }
    static void (*glut_swap)() = (void (*)())dlsym(RTLD_NEXT, "glutSwapBuffers");
    if (!swaps_hidden && glut_swap)
        glut_swap();
}
