// The background copied: the reference quad filters a mipmapped picture every
// frame; its pixels and depth, made once, are copied into each frame instead.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cstring>
#include <vector>

#include "render/render.h"
#include "render/render_local.h"

// The picture is kept upside down in a BGRA texture: a window's rows run top down, so a
// blit that turns it over again is a straight row copy that a software renderer does as
// a memory copy instead of a textured quad.
static GLuint   copy_frame, copy_picture;
static GLuint   copied_from;
static GLint    copied_view[4];
static GLuint   copied_depth;   // the quad's depth as the 24-bit buffer holds it
static GLdouble clear_depth;    // the clear value that writes exactly that

static void drop_copy() {
    glDeleteFramebuffers(1, &copy_frame);
    glDeleteTextures(1, &copy_picture);
    copy_frame = copy_picture = 0;
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

// The reference background drawn into a framebuffer of the window's size, read back
// with its depth at the origin; false when no framebuffer or clear value will do.
static bool draw_reference_aside(int width, int height, std::vector<uint8_t>& picture) {
    aside_frame_t aside;
    bool          made = begin_aside(width, height, true, &aside);
    if (made) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_background_reference();
        copied_depth = depth_at_origin();
        made = find_clear_depth();
        picture.resize((size_t)width * height * 4);
        glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, picture.data());
    }
    end_aside(&aside);
    return made;
}

// Keeps the window-sized reference background, turned over, as the copy's source.
static bool make_copy(const GLint view[4]) {
    drop_copy();
    int                  width = view[0] + view[2], height = view[1] + view[3];
    std::vector<uint8_t> picture;
    if (!draw_reference_aside(width, height, picture))
        return false;
    size_t row = (size_t)width * 4;
    for (int y = 0; y < height / 2; y++)
        std::swap_ranges(picture.begin() + y * row, picture.begin() + (y + 1) * row,
                         picture.begin() + (height - 1 - y) * row);
    glGenTextures(1, &copy_picture);
    glBindTexture(GL_TEXTURE_2D, copy_picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // unsized with BGRA bytes: the renderer keeps the window's own layout
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, picture.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &copy_frame);
    glBindFramebuffer(GL_FRAMEBUFFER, copy_frame);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, copy_picture, 0);
    bool made = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
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
    bool current = copy_frame && copied_from == render_assets.background_tex &&
                   memcmp(view, copied_view, sizeof(copied_view)) == 0;
    return current || make_copy(view);
}

bool background_is_copied() {
    GLint view[4];
    return !renderer.reference_drawing && copy_is_ready(view);
}

void prepare_background_copy() {
    GLint view[4];
    if (!renderer.reference_drawing)
        copy_is_ready(view);
}

bool draw_background_copy() {
    GLint view[4];
    if (!copy_is_ready(view))
        return false;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, copy_frame);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    int x1 = view[0] + view[2], y1 = view[1] + view[3];
    // the kept rows run top down: read from the top, written from the bottom
    glBlitFramebuffer(view[0], view[3], x1, 0, view[0], view[1], x1, y1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearDepth(clear_depth);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    renderer.frame.background_hides_far_tiles = true;
    return true;
}
