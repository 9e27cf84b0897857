// Thin layer over the OS: clock, sleep, exit, files and folders.
#pragma once
#include <cstdint>

struct platform_t {
    bool     fake_time;       // tests and tools drive the clock themselves
    int32_t  fake_now_ms;
    int      sleep_calls;     // sleeps asked for, counted in either mode
    int32_t  slept_ms;
    bool     keep_running;    // window-free runs: exit is recorded, not taken
    bool     exit_requested;
    int      exit_status;
};
extern platform_t platform;

int32_t platform_ticks_ms();            // real elapsed milliseconds, monotonic
void    platform_sleep_ms(int32_t ms);
void    platform_exit(int status);      // never returns unless keep_running
bool    platform_dir_exists(const char* path);
bool    platform_replace_file(const char* from, const char* to);
