// The display and the game's window on Windows: the screen's size in real pixels,
// the window's icon, its fixed size, whether it has the keyboard, and its swap interval.
#include <windows.h>

#include <GL/gl.h>
#include <cstring>

#include "platform/platform.h"

bool platform_screen_size(int* width, int* height) {
    // a scaled desktop would otherwise report, and stretch, fewer pixels than the screen has
    static bool aware = SetProcessDPIAware();
    (void)aware;
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
    return *width > 0 && *height > 0;
}

void platform_let_go_of_display() {}

uintptr_t platform_current_window() {
    HDC dc = wglGetCurrentDC();
    return dc ? (uintptr_t)WindowFromDC(dc) : 0;
}

// One size of the icon as Windows takes it: colour from a top-down BGRA bitmap, its alpha the shape.
static HICON make_icon(int width, int height, const uint32_t* argb) {
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof(header);
    header.bV5Width = width;
    header.bV5Height = -height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void*   bits = nullptr;
    HDC     screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, (BITMAPINFO*)&header, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour)
        return nullptr;
    memcpy(bits, argb, (size_t)width * height * 4);
    HBITMAP  mask = CreateBitmap(width, height, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, mask, colour};
    HICON    icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

// The size in the list nearest to wanted, taking a larger one over a smaller.
static const uint32_t* nearest_icon(const uint32_t* icon, size_t count, uint32_t wanted) {
    const uint32_t* best = nullptr;
    for (size_t at = 0; at + 2 <= count;) {
        uint32_t width = icon[at], height = icon[at + 1];
        size_t   pixels = (size_t)width * height;
        if (pixels > count - at - 2)
            break;
        bool closer = !best || (best[0] < wanted ? width > best[0] : width >= wanted && width < best[0]);
        if (closer)
            best = icon + at;
        at += 2 + pixels;
    }
    return best;
}

// The desktop groups the window by its program, so only the icon is given; the class stays the window library's.
void platform_name_window(uintptr_t window, const char*, const char*, const uint32_t* icon, size_t icon_count) {
    if (!window || !icon_count)
        return;
    const struct {
        WPARAM which;
        int    metric;
    } kinds[] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
    for (const auto& kind : kinds) {
        const uint32_t* size = nearest_icon(icon, icon_count, (uint32_t)GetSystemMetrics(kind.metric));
        HICON           made = size ? make_icon((int)size[0], (int)size[1], size + 2) : nullptr;
        if (made)
            SendMessageA((HWND)window, WM_SETICON, kind.which, (LPARAM)made);
    }
}

bool platform_window_has_focus(uintptr_t window) {
    if (!window)
        return true;
    HWND front = GetForegroundWindow();
    return front == (HWND)window || IsChild(front, (HWND)window);
}

bool platform_set_swap_interval(int refreshes) {
    typedef BOOL(WINAPI * interval_fn)(int);
    if (!wglGetCurrentContext() || refreshes < 1)
        return false;
    auto set = (interval_fn)(void*)wglGetProcAddress("wglSwapIntervalEXT");
    return set && set(refreshes);
}

// Windows has one desktop: no display is named.
void platform_use_display(const char*) {}

const char* platform_display_name() { return ""; }
