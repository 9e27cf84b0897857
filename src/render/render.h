// The drawing driver: the GL driver draws, the null driver does nothing.
// Drawing reads the game's state and changes none of it; game logic never calls GL.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One corner of a model as drawn: texture coordinate, normal, position.
struct obj_vertex_t {
    float s, t;
    float nx, ny, nz;
    float x, y, z;
};

// What start-up loaded onto the GL side: -1 for a model whose file was missing,
// 0 for a picture whose file was missing.
struct render_assets_t {
    uint32_t ship_list, ship_left_list, ship_right_list, star_list, heart_list;
    uint32_t background_tex, gameover_tex, playgame_tex, exitgame_tex;
};
extern render_assets_t render_assets;

void render_clear(bool background_in_frame);   // the app says whether the frame draws the background
void render_begin_scene();                     // camera on the ship
void render_finish_scene();                    // what goes over the whole scene: the HUD where play asked for it
void render_end_frame();                       // finish the scene, restore, swap, ask for the next frame
void render_hold_frame();               // a level change: the scene as it stands under its words; ask for the next
void render_setup_view();               // projection, camera, depth, lights, shading
void render_make_text_stamps_later();   // start-up: the first frame's text as bitmaps, the font's picture after it
void render_view_resized();             // the window is view_width by view_height now: viewport and projection
const char* render_gl_version();
// The keys the pause screen names, each "<KEY> KEY" as the binding table names it, in capitals.
inline constexpr char PAUSED_HINT[] = "PRESS P KEY TO CONTINUE, ESC KEY TO EXIT";
// The best run of the level flying beside the ship, drawn see-through.
struct ghost_pose_t {
    bool   shown;
    float  pos[3];
    float  heading;   // degrees about z
    int8_t bank;      // a ship_bank_t
};
// What the app hands the drawing besides the game's state: the player's records, a watched game, the ghost.
struct records_view_t {
    std::vector<std::string> lines;           // the records screen's; the game's selection marks one
    std::string              note;            // under them: why the chosen game cannot be watched
    std::vector<std::string> summary_lines;   // under the summary: this game's figures beside the bests
    std::string              watch_line;      // over a watched game: the keys that steer the watching
    ghost_pose_t             ghost;
    std::vector<std::string>
                menu_keys;    // under the menu's picture, the bottom line first: the keys, from the binding table
    std::string sound_off;    // in a corner while the sound is off: which key turns it on
    std::string pause_keys;   // under the pause screen's hint: the settings' key
    // the settings screen: each row's name and value, the chosen one marked by the game's selection
    std::vector<std::string> setting_names, setting_values;
    std::string              setting_note;    // under them: a key asked for, or why it was refused
    std::string              settings_keys;   // at the bottom: the keys that choose, change and go back
    // the world picker: a line a world, the chosen one's note under them, and why Enter was refused
    std::vector<std::string> world_lines, world_notes;
    std::string              world_refusal;
    std::string              worlds_keys;   // at the bottom: the keys that choose, play and go back
};
extern records_view_t records_view;

bool render_set_swap_interval(int refreshes);   // swaps wait this many refreshes; false: no such control
void render_light_on_ship();                    // light 0 above the ship, neutral emission

uint32_t upload_model(const std::vector<obj_vertex_t>& triangles);
uint32_t upload_texture(int width, int height, const uint8_t* rgb);
// A name now, the mipmaps when the picture is first drawn or after a frame has been
// shown, so the first frame waits for no picture but its own.
uint32_t upload_texture_later(int width, int height, std::vector<uint8_t> rgb);

// What the drawing of one frame notes about itself for its later draw calls, from the
// frame's first draw call to its swap; cleared after the swap and after the warm-up drawing.
struct frame_notes_t {
    bool hud_asked;                    // draw_hud ran: a copied background draws the text over itself
    bool background_hides_far_tiles;   // the copied background is drawn: the next track leaves out the tiles behind it
};

// The render layer's own state, kept apart from the game's.
struct renderer_t {
    // the straightforward drawing, kept as the reference the fast drawing is held to:
    // on when QUOVIX_REFERENCE_DRAWING is on (1, true, yes) at launch, or when a test sets it
    bool          reference_drawing;
    frame_notes_t frame;        // the frame being drawn
    bool          large_text;   // the HUD's and the screens' text grows with the screen's height
};
extern renderer_t renderer;

// A frame of play draws in the order the play codes queue, and the fast drawing's picture
// depends on it: HUD, background, track, ship. draw_hud only notes the text, which the
// scene's finish draws over everything; the copied background overwrites every pixel and
// the depth, so what is drawn before it is lost, and it notes the far tiles the track may skip.
void draw_hud();
void draw_background();
void draw_track();
void draw_ship();
void draw_menu();
void draw_summary();
void draw_paused();   // over the scene: the word and the keys that go on or leave

// Counted by the null driver only, so the tests see how often a frame drew the ship.
extern int ship_draw_count;
