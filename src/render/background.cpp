// The background of play: the copy where the fast drawing has one, else the reference quad.
#include "render/render.h"
#include "render/render_local.h"

void draw_background() {
    if (!renderer.reference_drawing && draw_background_copy())
        return;
    draw_background_reference();
}
