// A framebuffer of its own to draw into and read back, for pictures made once: the
// background's copy and the font's stamps.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "render/render_local.h"

bool begin_aside(int width, int height, bool with_depth, aside_frame_t* aside) {
    *aside = aside_frame_t{};
    glGenFramebuffers(1, &aside->frame);
    glGenRenderbuffers(1, &aside->colour);
    glBindRenderbuffer(GL_RENDERBUFFER, aside->colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    if (with_depth) {
        glGenRenderbuffers(1, &aside->depth);
        glBindRenderbuffer(GL_RENDERBUFFER, aside->depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, aside->frame);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, aside->colour);
    if (with_depth)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, aside->depth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void end_aside(aside_frame_t* aside) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &aside->frame);
    glDeleteRenderbuffers(1, &aside->colour);
    if (aside->depth)
        glDeleteRenderbuffers(1, &aside->depth);
    *aside = aside_frame_t{};
}
