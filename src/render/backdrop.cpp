// The background copied: the reference quad filters a mipmapped picture every
// frame; its pixels and depth, made once, are copied into each frame instead.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstring>

#include "render/render.h"
#include "render/track_parts.h"


static GLuint  copy_frame, copy_colour;   // the picture, kept in a framebuffer of its own
static GLuint  copied_from;
static GLint   copied_view[4];
static GLuint  copied_depth;              // the quad's depth as the 24-bit buffer holds it
static GLdouble clear_depth;              // the clear value that writes exactly that

static void drop_copy() {
    glDeleteFramebuffers(1, &copy_frame);
    glDeleteRenderbuffers(1, &copy_colour);
    copy_frame = copy_colour = 0;
    copied_from = 0;
}

static GLuint depth_at_origin() {
    GLuint depth = 0;
    glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, &depth);
    return depth >> 8;
}

// The clear value that writes the quad's depth exactly, found by trying; false when none does.
static bool find_clear_depth() {
    for (int step = -2; step <= 2; step++) {
        clear_depth = (copied_depth + step * 0.25) / 16777215.0;
        glClearDepth(clear_depth);
        glClear(GL_DEPTH_BUFFER_BIT);
        if (depth_at_origin() == copied_depth)
            break;
        clear_depth = -1;
    }
    glClearDepth(1.0);
    return clear_depth >= 0;
}

// Draws the reference background into a framebuffer of the window's size and keeps it.
static bool make_copy(const GLint view[4]) {
    drop_copy();
    int width = view[0] + view[2], height = view[1] + view[3];
    GLuint depth_buffer = 0;
    glGenFramebuffers(1, &copy_frame);
    glGenRenderbuffers(1, &copy_colour);
    glGenRenderbuffers(1, &depth_buffer);
    glBindRenderbuffer(GL_RENDERBUFFER, copy_colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_buffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, copy_frame);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, copy_colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_buffer);
    bool made = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (made) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_background_reference();
        copied_depth = depth_at_origin();
        made = find_clear_depth();
    }
    // the picture stays; the depth is one value, cleared into each frame
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &depth_buffer);
    if (!made) {
        drop_copy();
        return false;
    }
    copied_from = render_assets.background_tex;
    memcpy(copied_view, view, sizeof(copied_view));
    return true;
}

// The copy for the window as it is now, made when missing; false when none can be made.
static bool copy_is_ready(GLint view[4]) {
    if (!render_assets.background_tex)
        return false;
    glGetIntegerv(GL_VIEWPORT, view);
    bool current = copy_frame && copied_from == render_assets.background_tex && memcmp(view, copied_view, sizeof(copied_view)) == 0;
    return current || make_copy(view);
}

void prepare_background_copy() {
    GLint view[4];
    if (!reference_drawing)
        copy_is_ready(view);
}

bool draw_background_copy() {
    GLint view[4];
    if (!copy_is_ready(view))
        return false;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, copy_frame);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    int x1 = view[0] + view[2], y1 = view[1] + view[3];
    glBlitFramebuffer(view[0], view[1], x1, y1, view[0], view[1], x1, y1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearDepth(clear_depth);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    // the copy covered the head-up text drawn before it; opaque and depth-tested, it
    // comes out the same drawn again now
    if (hud_in_frame)
        draw_hud_text();
    background_hides_far_tiles = true;
    return true;
}

void draw_background() {
    if (!reference_drawing && draw_background_copy())
        return;
    draw_background_reference();
}

bool hud_in_frame;

void draw_hud() {
    hud_in_frame = true;
    // a copied background covers the text and draws it again: drawn once, then
    GLint view[4];
    if (!reference_drawing && copy_is_ready(view))
        return;
    draw_hud_text();
}
