// The null driver: every drawing call does nothing, uploads hand out names.
#include <vector>

#include "render/render.h"

renderer_t renderer;

static uint32_t next_list = 1;
static uint32_t next_texture = 1;

void        render_clear(bool) {}
void        render_begin_scene() {}
void        render_finish_scene() {}
void        render_end_frame() {}
void        render_hold_frame() {}
void        render_setup_view() {}
void        render_make_text_stamps_later() {}
void        render_view_resized() {}
const char* render_gl_version() { return "none (no window)"; }
void        render_light_on_ship() {}
bool        render_set_swap_interval(int) { return false; }

uint32_t upload_model(const std::vector<obj_vertex_t>&) { return next_list++; }
uint32_t upload_texture(int, int, const uint8_t*) { return next_texture++; }
uint32_t upload_texture_later(int, int, std::vector<uint8_t>) { return next_texture++; }

void draw_track() {}
int  ship_draw_count = 0;

void draw_ship() { ship_draw_count++; }
void draw_hud() {}
void draw_menu() {}
void draw_background() {}
void draw_summary() {}
void draw_paused() {}
