// The parts of the layer the C++ library does alike on every system.
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/temporary.h"

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

bool platform_setting_on(const char* name) {
    const char* value = platform_setting(name);
    if (!value)
        return false;
    static const char* const off[] = {"", "0", "false", "no", "off"};
    static const char* const on[] = {"1", "true", "yes", "on"};
    for (const char* word : off)
        if (strcmp(value, word) == 0)
            return false;
    for (const char* word : on)
        if (strcmp(value, word) == 0)
            return true;
    fprintf(stderr, "%s=%s is not known (1, true, yes or on; 0, false, no, off or empty): off\n", name, value);
    return false;
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

std::string platform_working_folder() {
    std::error_code failed;
    // the game's text is UTF-8 on every system, Windows' paths wide: u8 both ways
    std::string folder = std::filesystem::current_path(failed).u8string();
    return failed ? std::string() : folder;
}

bool platform_enter_folder(const char* path) {
    std::error_code failed;
    std::filesystem::current_path(std::filesystem::u8path(path), failed);
    return !failed;
}

std::vector<std::string> platform_folders_in(const char* path) {
    // the C++ library's listing: alike on every system, and it never names . or ..
    std::vector<std::string>            names;
    std::error_code                     failed;
    std::filesystem::directory_iterator entry(std::filesystem::u8path(path), failed), end;
    for (; !failed && entry != end; entry.increment(failed)) {
        std::error_code gone;
        if (entry->is_directory(gone))
            names.push_back(entry->path().filename().u8string());
    }
    return names;
}

bool platform_exists(const char* path) {
    std::error_code failed;
    return std::filesystem::exists(std::filesystem::u8path(path), failed);
}

bool platform_is_folder(const char* path) {
    std::error_code failed;
    return std::filesystem::is_directory(std::filesystem::u8path(path), failed);
}

void platform_remove_folder(const char* path) {
    std::error_code failed;
    std::filesystem::remove_all(std::filesystem::u8path(path), failed);
}

const char* const platform_cannot_open = "cannot open the file";

bool platform_read_all(FILE* f, uint64_t max_bytes, std::string* bytes, std::string* why) {
    bytes->clear();
    // straight into the chunk: no buffer of the stream's own to make and free for each file
    setvbuf(f, nullptr, _IONBF, 0);
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

size_t file_name_start(const std::string& path) {
#ifdef _WIN32
    size_t slash = path.find_last_of("/\\:");
#else
    size_t slash = path.rfind('/');
#endif
    return slash == std::string::npos ? 0 : slash + 1;
}

// The file's name cut to leave room for the suffix, never inside a UTF-8 letter.
static std::string temporary_stem(const std::string& path) {
    size_t start = file_name_start(path), keep = path.size() - start, room = FILE_NAME_MAX - 7;
    if (keep <= room)
        return path;
    keep = room;
    while (keep > 0 && ((unsigned char)path[start + keep] & 0xC0) == 0x80)
        keep--;
    return path.substr(0, start + keep);
}

std::string temporary_name(const std::string& path, unsigned process, unsigned attempt) {
    // the same process and attempt give the same name: creation refuses what is there
    unsigned mix = process * 2654435761u ^ attempt * 40503u;
    char     suffix[8];
    snprintf(suffix, sizeof(suffix), ".%06x", mix & 0xFFFFFF);
    return temporary_stem(path) + suffix;
}

bool is_temporary_of(const std::string& entry, const std::string& path) {
    std::string stem = temporary_stem(path);
    stem.erase(0, file_name_start(stem));
    if (entry.size() != stem.size() + 7 || entry.compare(0, stem.size(), stem) != 0 || entry[stem.size()] != '.')
        return false;
    for (size_t i = stem.size() + 1; i < entry.size(); i++)
        if (!((entry[i] >= '0' && entry[i] <= '9') || (entry[i] >= 'a' && entry[i] <= 'f')))
            return false;
    return true;
}

std::string aside_name(const std::string& path, int attempt) {
    return path + ".damaged" + (attempt > 1 ? "-" + std::to_string(attempt) : "");
}
