#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

int screen_width;
int screen_height;

static int64_t monotonic_ms() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

int32_t platform_ticks_ms() {
    // counted from the first call so the 32-bit ticks start near zero, like a process clock
    static const int64_t first = monotonic_ms();
    return (int32_t)(monotonic_ms() - first);
}

void platform_sleep_ms(int32_t ms) {
    if (ms <= 0)
        return;
    timespec ts = {ms / 1000, (long)(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void platform_exit(int status) {
    fflush(stdout);
    exit(status);
}

bool platform_dir_exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool platform_replace_file(const char* from, const char* to) {
    return rename(from, to) == 0;
}
