#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <system_error>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

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

static std::thread aside;

void platform_wait_aside() {
    if (aside.joinable())
        aside.join();
}

void platform_start_aside(void (*job)()) {
    // a thread left running would end the program when its holder is destroyed
    static bool waited_at_exit = atexit(platform_wait_aside) == 0;
    (void)waited_at_exit;
    platform_wait_aside();
    try {
        aside = std::thread(job);
    } catch (const std::system_error&) {
        job();   // no thread to be had: the job is done now instead
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

const char* const platform_cannot_open = "cannot open the file";

FILE* platform_open_regular(const char* path, uint64_t max_bytes, std::string* why) {
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = platform_cannot_open;
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        *why = "is not a regular file";
        return nullptr;
    }
    if ((uint64_t)st.st_size > max_bytes) {
        close(fd);
        *why = "is larger than " + std::to_string(max_bytes) + " bytes";
        return nullptr;
    }
    // reads of a regular file never wait, so the flag can stay
    FILE* f = fdopen(fd, "rb");
    if (!f) {
        close(fd);
        *why = platform_cannot_open;
    }
    return f;
}

bool platform_read_all(FILE* f, uint64_t max_bytes, std::string* bytes, std::string* why) {
    bytes->clear();
    char chunk[65536];
    size_t got;
    bool over = false;
    while (!over && (got = fread(chunk, 1, sizeof(chunk), f)) > 0) {
        over = bytes->size() + got > max_bytes;
        if (!over)
            bytes->append(chunk, got);
    }
    bool failed = ferror(f) != 0;
    fclose(f);
    if (over)
        *why = "is larger than " + std::to_string(max_bytes) + " bytes";
    else if (failed)
        *why = "cannot read the file";
    return !over && !failed;
}
