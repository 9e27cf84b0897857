// How many of the display's refreshes a swap waits for, where the driver lets the
// game choose; the pacing of frames (src/app/pace.cpp) decides the number.
#include "platform/platform.h"
#include "render/render.h"

bool render_set_swap_interval(int refreshes) { return platform_set_swap_interval(refreshes); }
