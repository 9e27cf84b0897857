// Running the real game under X: start it in a play folder, press real keys,
// read the screen back.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

typedef struct _XDisplay Display;

struct game_run_t {
    pid_t                    pid = -1;
    std::string              program;   // empty: build/bin/quovix
    std::vector<std::string> args;      // passed to it after its name
    std::vector<std::string> env;       // NAME=value pairs set for it, NAME= alone removes NAME
    std::string              bin_dir;
    std::string              out_path;   // the game's standard output
    std::string              err_path;   // its standard error
    unsigned long            window = 0;
    bool                     exited = false;
    int                      status = -1;   // exit status once exited, -1 for a signal
};

struct screen_shot_t {
    int                  width = 0, height = 0;
    std::vector<uint8_t> rgb;   // top row first
    const uint8_t*       at(int x, int y) const { return &rgb[((size_t)y * width + x) * 3]; }
};

// Starts build/bin/quovix (or run->program) with bin_dir as its working folder,
// its frames free (QUOVIX_FRAME_PACE=free) unless run->env removes or sets that.
bool launch_game(game_run_t* run, const std::string& bin_dir);
// Waits until the window titled WINDOW_TITLE exists, focuses it, and waits until
// start-up has ended and the window covers the screen (or has the size --window
// asked for); false on timeout.
bool wait_for_window(game_run_t* run, double seconds = 20);
// Waits for the game to end; false when it was still running (then it is killed).
bool        wait_for_exit(game_run_t* run, double seconds = 20);
void        kill_game(game_run_t* run);
std::string game_output(const game_run_t& run);
bool        have_display();
void        sleep_ms(int ms);
// Holds a key (an X keysym name such as "Return", "s", "Escape") long enough
// for several frames to see it, then lets go.
void press_key(const char* key);
// Keys sent one after another as written, without waiting: "keydown d keydown shift keyup d".
void send_keys(const std::string& keys);
// Moves the keyboard focus to a window, or to the root window for 0, as a window manager would.
bool give_focus_to(unsigned long window);
// Waits until a file exists and holds `lines` lines; false on timeout.
bool wait_for_lines(const std::string& path, int lines, double seconds);
// The window's place and size on the screen, and the screen's size.
bool window_geometry(const game_run_t& run, int* x, int* y, int* w, int* h, int* screen_w, int* screen_h);

// An X server of the test's own (Xvfb) with one screen, such as "640x480x24", leaving
// $DISPLAY as it is: its pid, and its name in *display; -1 when none started.
pid_t start_x_server(const char* screen, std::string* display);
void  stop_x_server(pid_t pid);

// A connection to $DISPLAY, tried again a few times: Xvfb now and then refuses one
// made right after another client left. nullptr when there is none.
Display* open_display();

screen_shot_t take_screenshot();
// Takes screenshots until one `shows` what is wanted or the time is up; the last one taken.
screen_shot_t wait_for_screen(const std::function<bool(const screen_shot_t&)>& shows, double seconds = 20);
// Waits until the screen shows the full-screen menu picture; false on timeout.
bool wait_for_menu(const screen_shot_t& menu, double seconds = 20);
// After PLAY GAME is chosen: waits until start-up has run again for play and frames of
// play have replaced the menu picture; false on timeout.
bool wait_for_play(const game_run_t& run, const screen_shot_t& menu, double seconds = 20);
// How many times `what` occurs in `text`.
int occurrences(const std::string& text, const std::string& what);
// A full-screen picture of the game (raw blue-green-red, bottom row first) as the
// screen would show it; empty when the file is missing or short.
screen_shot_t read_screen_picture(const std::string& path, int width, int height);
screen_shot_t flipped_upside_down(const screen_shot_t& s);
void          mean_colour(const screen_shot_t& s, int x0, int y0, int x1, int y1, double rgb[3]);
// Mean of the per-block differences of the blocks' mean colours (0 to 255) over a
// rectangle cut into 32-pixel blocks: small when the two look alike.
double block_difference(const screen_shot_t& a, const screen_shot_t& b, int x0, int y0, int x1, int y1);
// Pixels of a rectangle that are white on the screen where the picture behind is not.
long white_over_picture(const screen_shot_t& shot, const screen_shot_t& picture, int x0, int y0, int x1, int y1);
