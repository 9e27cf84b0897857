// The parts of the layer the C++ library does alike on every system.
#include "platform/platform.h"

#include <cstdarg>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

int view_width;
int view_height;

static bool quiet;

void platform_say(const char* format, ...) {
    if (quiet)
        return;
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
}

void platform_keep_quiet(bool keep_quiet) { quiet = keep_quiet; }

const char* platform_setting(const char* name) { return getenv(name); }

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

std::string platform_working_folder() {
    std::error_code failed;
    std::string     folder = std::filesystem::current_path(failed).string();
    return failed ? std::string() : folder;
}

bool platform_enter_folder(const char* path) {
    std::error_code failed;
    std::filesystem::current_path(path, failed);
    return !failed;
}

std::vector<std::string> platform_folders_in(const char* path) {
    // the C++ library's listing: alike on every system, and it never names . or ..
    std::vector<std::string>            names;
    std::error_code                     failed;
    std::filesystem::directory_iterator entry(path, failed), end;
    for (; !failed && entry != end; entry.increment(failed)) {
        std::error_code gone;
        if (entry->is_directory(gone))
            names.push_back(entry->path().filename().u8string());
    }
    return names;
}

const char* const platform_cannot_open = "cannot open the file";

bool platform_read_all(FILE* f, uint64_t max_bytes, std::string* bytes, std::string* why) {
    bytes->clear();
    char   chunk[65536];
    size_t got;
    bool   over = false;
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
