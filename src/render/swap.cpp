// How many of the display's refreshes a swap waits for, where the driver lets the
// game choose; the pacing of frames (src/app/pace.cpp) decides the number.
#include <GL/glx.h>
#include <cstring>

#include "render/render.h"

static bool offers(const char* extensions, const char* name) {
    size_t length = strlen(name);
    for (const char* p = extensions; p && (p = strstr(p, name)); p += length)
        if ((p == extensions || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0'))
            return true;
    return false;
}

static void* lookup(const char* name) { return (void*)glXGetProcAddressARB((const GLubyte*)name); }

bool render_set_swap_interval(int refreshes) {
    Display*    display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable || refreshes < 1)
        return false;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    typedef void (*ext_interval_fn)(Display*, GLXDrawable, int);
    typedef int (*mesa_interval_fn)(unsigned);
    typedef int (*sgi_interval_fn)(int);
    if (offers(extensions, "GLX_EXT_swap_control")) {
        if (auto set = (ext_interval_fn)lookup("glXSwapIntervalEXT")) {
            set(display, drawable, refreshes);
            return true;
        }
    }
    if (offers(extensions, "GLX_MESA_swap_control")) {
        if (auto set = (mesa_interval_fn)lookup("glXSwapIntervalMESA"))
            return set((unsigned)refreshes) == 0;
    }
    if (offers(extensions, "GLX_SGI_swap_control")) {
        if (auto set = (sgi_interval_fn)lookup("glXSwapIntervalSGI"))
            return set(refreshes) == 0;
    }
    return false;
}
