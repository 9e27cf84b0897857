// Windows' opengl32 exports OpenGL 1.1 alone: the buffer and framebuffer calls of the
// fast drawing and the background copy are looked up from the driver on first use.
#include <GL/freeglut.h>
#define GL_GLEXT_PROTOTYPES
#include <GL/glext.h>

#include <cstdio>

#include "platform/platform.h"

// The driver's function of that name; a driver without it cannot draw the game at all.
static GLUTproc driver_proc(const char* name) {
    GLUTproc proc = glutGetProcAddress(name);
    if (!proc) {
        fprintf(stderr, "quovix: the OpenGL driver has no %s\n", name);
        platform_exit(1);
    }
    return proc;
}

#define DRIVER_CALL(type, name, params, args)                                                                          \
    extern "C" void APIENTRY name params {                                                                             \
        static type proc = (type)driver_proc(#name);                                                                   \
        proc        args;                                                                                              \
    }
#define DRIVER_FUNCTION(result, type, name, params, args)                                                              \
    extern "C" result APIENTRY name params {                                                                           \
        static type proc = (type)driver_proc(#name);                                                                   \
        return proc args;                                                                                              \
    }

DRIVER_CALL(PFNGLGENBUFFERSPROC, glGenBuffers, (GLsizei n, GLuint* ids), (n, ids))
DRIVER_CALL(PFNGLBINDBUFFERPROC, glBindBuffer, (GLenum target, GLuint id), (target, id))
DRIVER_CALL(PFNGLBUFFERDATAPROC, glBufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage),
            (target, size, data, usage))
DRIVER_CALL(PFNGLBUFFERSUBDATAPROC, glBufferSubData, (GLenum target, GLintptr at, GLsizeiptr size, const void* data),
            (target, at, size, data))
DRIVER_CALL(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers, (GLsizei n, GLuint* ids), (n, ids))
DRIVER_CALL(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer, (GLenum target, GLuint id), (target, id))
DRIVER_CALL(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers, (GLsizei n, const GLuint* ids), (n, ids))
DRIVER_FUNCTION(GLenum, PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus, (GLenum target), (target))
DRIVER_CALL(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer,
            (GLenum target, GLenum attachment, GLenum kind, GLuint id), (target, attachment, kind, id))
DRIVER_CALL(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D,
            (GLenum target, GLenum attachment, GLenum kind, GLuint texture, GLint level),
            (target, attachment, kind, texture, level))
DRIVER_CALL(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer,
            (GLint x0, GLint y0, GLint x1, GLint y1, GLint to_x0, GLint to_y0, GLint to_x1, GLint to_y1,
             GLbitfield mask, GLenum filter),
            (x0, y0, x1, y1, to_x0, to_y0, to_x1, to_y1, mask, filter))
DRIVER_CALL(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers, (GLsizei n, GLuint* ids), (n, ids))
DRIVER_CALL(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer, (GLenum target, GLuint id), (target, id))
DRIVER_CALL(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers, (GLsizei n, const GLuint* ids), (n, ids))
DRIVER_CALL(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage,
            (GLenum target, GLenum format, GLsizei width, GLsizei height), (target, format, width, height))
