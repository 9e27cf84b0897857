// The thin layer over the OS: clock, sleep, exit, screen size, settings, files, one job aside.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The size the view is drawn at: the screen's, or the window's; set once by the window.
extern int view_width;
extern int view_height;

int32_t           platform_ticks_ms();   // real elapsed milliseconds, monotonic, from the first call
void              platform_sleep_ms(int32_t ms);
int64_t           platform_now_ns();                       // the monotonic clock itself, in nanoseconds
void              platform_sleep_until_ns(int64_t when);   // to an absolute time on that clock
[[noreturn]] void platform_exit(int status);
// Standard output reaches a pipe or file line by line, not only at exit; a console
// opened for the game alone (a double-click) is let go, so a player sees the window only.
void platform_start_output();
// The display every connection of the game's own opens: the one the window library
// is told to open (-display NAME), or nullptr for the system's default, as the
// window library takes it. Given before any other display function is called.
void platform_use_display(const char* name);
// That display's name as a player knows it, for messages; "" when none is set.
const char* platform_display_name();
// The display's size without a window; false when there is no display. The
// connection stays open until let go of, once the window has its own.
bool platform_screen_size(int* width, int* height);
void platform_let_go_of_display();
// Each frame's events, one bit a game_event_t, handed to an observer preloaded into
// the game (the benchmark defines quovix_frame_events(uint32_t) for it); nothing without one.
void platform_frame_events(uint32_t events);
// Before the swap of a frame the level change holds: the observer's quovix_frame_held, if any.
void platform_frame_held();
// The game's own lines on standard output; a tool running the game without a
// window may keep them quiet for a while, so its own output stays its own.
void platform_say(const char* format, ...);
void platform_keep_quiet(bool quiet);
// The window the current GL context draws into; 0 before there is one.
uintptr_t platform_current_window();
// Gives the window its class for the desktop and, when icon_count is not 0, its icon
// (for each size: width, height, ARGB pixels), for docks and taskbars.
void platform_name_window(uintptr_t window, const char* instance, const char* class_name, const uint32_t* icon,
                          size_t icon_count);
// Whether the keyboard goes to this window; true when there is no display to ask.
bool platform_window_has_focus(uintptr_t window);
// How many refreshes the current context's swaps wait for; false where the driver offers no such control.
bool platform_set_swap_interval(int refreshes);
// Runs a job on a thread of its own; the caller waits for it before it reads what
// the job wrote. Exit waits for a job still running.
void platform_start_aside(void (*job)());
void platform_wait_aside();
bool platform_dir_exists(const char* path);
// The working folder, where ../resources, scale.txt and player.s are found from; empty when it has gone.
std::string platform_working_folder();
bool        platform_enter_folder(const char* path);
// Stops the system's sound library (ALSA) printing its own errors once the sound
// library has loaded it: a missing device is then the game's one line.
void platform_quiet_sound_library();
// An environment variable, nullptr when unset; read at start, never per frame.
const char* platform_setting(const char* name);
// A setting that is on or off: unset, empty, 0, false, no and off are off; 1, true,
// yes and on are on; anything else is off, with one line on standard error.
bool platform_setting_on(const char* name);
// The one way a file is written: whole into a new file beside it, then moved over
// it, so a kill leaves the old file or the new one (and the next write sweeps a
// temporary a kill left a minute or more ago). A link at path is replaced,
// never written through; anything else that is no regular file is left alone.
// False with the reason in *why ("is not a regular file", "cannot write the file: " and the OS's reason).
bool platform_write_file(const char* path, const void* bytes, size_t size, std::string* why);

// The longest name one folder entry may have on the systems the game runs on.
const size_t FILE_NAME_MAX = 255;
// The reason given for a file that cannot be opened at all (missing, no permission).
extern const char* const platform_cannot_open;
// Opens a regular file of at most max_bytes for reading, without blocking on a
// FIFO or device; nullptr with the reason (platform_cannot_open, "is not a
// regular file", "is larger than N bytes") in *why otherwise.
FILE* platform_open_regular(const char* path, uint64_t max_bytes, std::string* why);
// Reads a file opened that way whole, at most max_bytes, and closes it; false
// with the reason when it holds more (it grew since it was opened) or a read fails.
bool platform_read_all(FILE* f, uint64_t max_bytes, std::string* bytes, std::string* why);
// A small regular file read whole into buf (max_bytes long) with the system's plain
// calls, no stream, as a file read every frame wants: the bytes read, or -1 when it is
// missing, no regular file (never waited on), larger than max_bytes, or unreadable.
long platform_read_small_file(const char* path, char* buf, size_t max_bytes);
// A new folder of its own in the system's folder for temporary files (TMPDIR, or
// /tmp; on Windows TMP or TEMP), named prefix-XXXXXX; "" with the reason, naming
// that folder, in *why when none can be made.
std::string platform_new_temp_folder(const char* prefix, std::string* why);
// Removes a folder and everything in it, whatever its name; what cannot go stays.
void platform_remove_folder(const char* path);
// The names (UTF-8) of the folders right inside path, a link to a folder counting,
// without "." and "..", in no set order; empty when path cannot be read.
std::vector<std::string> platform_folders_in(const char* path);
// Whether anything is at path, a link counting as what it leads to (a link to nothing is nothing).
bool platform_exists(const char* path);
// Whether path is a folder, or a link to one.
bool platform_is_folder(const char* path);
// Makes the folder when it is missing; true when a real folder is there, false with
// the reason ("is a file", "is a link", or the OS's) in *why otherwise.
bool platform_make_folder(const char* path, std::string* why);
// The names (UTF-8) of the regular files right inside path, links left out, in no set order.
std::vector<std::string> platform_files_in(const char* path);
// Removes path when it is a regular file, never a link, folder or device.
bool platform_remove_file(const char* path);
// Renames what is at path to a free name beside it (path.damaged, path.damaged-2, ...),
// never over anything already there; the new name in *aside.
bool platform_set_aside(const char* path, std::string* aside);
// The local date and time as "YYYY-MM-DD-HHMMSS", for naming files.
std::string platform_local_time_name();
