// The GL driver's own header, included by its files and the picture test only: colours, the cube, tile places,
// pictures waiting for their mipmaps, the reference and the fast drawing.
#pragma once
#include <cstdint>

extern const float finish_green[4];
extern const float star_diffuse[4], star_glow[4], heart_diffuse[4], heart_glow[4];
extern const float cube_normal[6][3];      // face order: +y, -y, +z, +x, -x, -z
extern const float cube_corner[6][4][3];   // a unit cube's quads, wound outward

inline constexpr float WALL_LIFT = 0.003f;   // a wall's raised cube stands this far above its floor cube

float tile_centre(int i, float h);                  // centre of row or column i, h rows a level
float tile_cube_size(float h);                      // half the edge of a tile's cube
void  pickup_at(float x, float y, uint32_t list);   // a star or heart model, spun

void upload_texture_into(uint32_t name, int width, int height, const uint8_t* rgb);
void texture_ready(uint32_t name);   // a picture waiting for its mipmaps gets them now
bool build_a_waiting_texture();      // one picture's mipmaps, between frames; true when it was the last
bool pictures_waiting();

// The depth range of the full-screen pictures' ortho view: every one ends at the same far
// plane; the background's starts farthest out, the menu's and the summary's nearer.
inline constexpr float PICTURE_FAR = 1.0f;
inline constexpr float BACKGROUND_NEAR = -100.0f;
inline constexpr float SCREEN_PICTURE_NEAR = -5.0f;

// The one font of every text the driver draws: GLUT's bitmaps, named by GLUT's own macro.
#define TEXT_FONT GLUT_BITMAP_HELVETICA_18

// The reference drawing: the straightforward calls that define the picture.
void draw_track_reference();        // every tile in immediate mode, every frame
void draw_background_reference();   // the mipmapped full-screen quad

// The fast ways: the same picture as the reference drawing, at a fraction of its cost.
// The background as a copy of what the reference quad draws, made once; false
// when no copy can be made. Noted so the track skips the tiles the background hides.
bool draw_background_copy();
void prepare_background_copy();   // between menu frames, so the first frame of play need not
bool background_is_copied();      // the background is drawn as the copy, which is made when missing

// A framebuffer of its own, bound for drawing, with a 24-bit depth when asked; false when
// the driver cannot make one. end_aside deletes it and binds the window again.
struct aside_frame_t {
    uint32_t frame, colour, depth;
};
bool begin_aside(int width, int height, bool with_depth, aside_frame_t* aside);
void end_aside(aside_frame_t* aside);

// The text drawn at the raster position from a picture of the font, one draw, as its
// bitmaps would light it; false when no such picture can be made, and nothing was drawn.
bool stamp_text(const char* text);
// Between frames: the font's picture start-up put off, made now; false when there was none to make.
bool make_put_off_text_stamps();

// Over every screen: the keys that steer a watched game, and the sound's being off.
void draw_screen_notes();
// The projection and the model view pushed and set to the window's pixels, and popped again.
void push_screen_pixels();
void pop_screen_pixels();
// Over the held picture of a level change: the level done, its time and stars, then the next.
void draw_level_change();
