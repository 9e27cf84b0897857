// Frames at the display's pace: every motion is an amount per frame, made for a
// screen that shows 60 of them a second, so a swap waits for the display's refresh
// where the driver offers that; elsewhere frames run free.
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

void render_follow_display_refresh() {
    Display*    display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable)
        return;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    typedef void (*ext_interval_fn)(Display*, GLXDrawable, int);
    typedef int (*mesa_interval_fn)(unsigned);
    typedef int (*sgi_interval_fn)(int);
    if (offers(extensions, "GLX_EXT_swap_control")) {
        if (auto set = (ext_interval_fn)lookup("glXSwapIntervalEXT")) {
            set(display, drawable, 1);
            return;
        }
    }
    if (offers(extensions, "GLX_MESA_swap_control")) {
        if (auto set = (mesa_interval_fn)lookup("glXSwapIntervalMESA")) {
            set(1);
            return;
        }
    }
    if (offers(extensions, "GLX_SGI_swap_control")) {
        if (auto set = (sgi_interval_fn)lookup("glXSwapIntervalSGI"))
            set(1);
    }
}
