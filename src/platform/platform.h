// The thin layer over the OS: clock, sleep, exit, screen size, files, one job aside.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Measured once by the window, before anything is sized from it.
extern int screen_width;
extern int screen_height;

int32_t           platform_ticks_ms();   // real elapsed milliseconds, monotonic, from the first call
void              platform_sleep_ms(int32_t ms);
[[noreturn]] void platform_exit(int status);
// The display's size without a window; false when there is no display. The
// connection stays open until let go of, once the window has its own.
bool platform_screen_size(int* width, int* height);
void platform_let_go_of_display();
// Whether the keyboard goes to this X window; true when there is no display to ask.
bool platform_window_has_focus(unsigned long window);
// Runs a job on a thread of its own; the caller waits for it before it reads what
// the job wrote. Exit waits for a job still running.
void platform_start_aside(void (*job)());
void platform_wait_aside();
bool platform_dir_exists(const char* path);
// The one way a file is written: whole into a new file beside it, then moved over
// it, so a kill leaves the old file or the new one. A link at path is replaced,
// never written through; anything else that is no regular file is left alone.
// False with the reason in *why ("is not a regular file", "cannot write the file").
bool platform_write_file(const char* path, const void* bytes, size_t size, std::string* why);

// The reason given for a file that cannot be opened at all (missing, no permission).
extern const char* const platform_cannot_open;
// Opens a regular file of at most max_bytes for reading, without blocking on a
// FIFO or device; nullptr with the reason (platform_cannot_open, "is not a
// regular file", "is larger than N bytes") in *why otherwise.
FILE* platform_open_regular(const char* path, uint64_t max_bytes, std::string* why);
// Reads a file opened that way whole, at most max_bytes, and closes it; false
// with the reason when it holds more (it grew since it was opened) or a read fails.
bool platform_read_all(FILE* f, uint64_t max_bytes, std::string* bytes, std::string* why);
