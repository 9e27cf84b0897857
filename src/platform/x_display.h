// The X side of the platform layer: one way its files open a connection.
#pragma once
#include <X11/Xlib.h>

// A connection to the display the window library opens (platform_use_display).
Display* platform_open_display();
