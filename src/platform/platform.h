// The thin layer over the OS: clock, sleep, exit, screen size, files.
#pragma once
#include <cstdint>

// Measured once by the window, before anything is sized from it.
extern int screen_width;
extern int screen_height;

int32_t platform_ticks_ms();            // real elapsed milliseconds, monotonic, from the first call
void    platform_sleep_ms(int32_t ms);
[[noreturn]] void platform_exit(int status);
bool    platform_dir_exists(const char* path);
bool    platform_replace_file(const char* from, const char* to);
