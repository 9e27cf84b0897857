// The thin layer over Windows: the same functions as the POSIX side, in Win32 terms.
#include "platform/platform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "platform/temporary.h"

// Kernels older than the high-resolution timer do not know the flag; they are told apart by refusing it.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

int64_t platform_now_ns() {
    static LARGE_INTEGER rate;
    if (!rate.QuadPart)
        QueryPerformanceFrequency(&rate);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    // whole seconds and the rest apart, so the product never overflows
    int64_t seconds = now.QuadPart / rate.QuadPart, rest = now.QuadPart % rate.QuadPart;
    return seconds * 1000000000 + rest * 1000000000 / rate.QuadPart;
}

int32_t platform_ticks_ms() {
    // counted from the first call so the 32-bit ticks start near zero, like a process clock
    static const int64_t first = platform_now_ns() / 1000000;
    return (int32_t)(platform_now_ns() / 1000000 - first);
}

// A timer that wakes on time to the tenth of a millisecond where the system has one;
// elsewhere the ordinary one, with the system's tick made a millisecond.
static HANDLE wake_timer() {
    static HANDLE timer = [] {
        HANDLE t = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
        if (!t) {
            timeBeginPeriod(1);
            t = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
        }
        return t;
    }();
    return timer;
}

void platform_sleep_until_ns(int64_t when) {
    int64_t left = when - platform_now_ns();
    if (left <= 0)
        return;
    HANDLE        timer = wake_timer();
    LARGE_INTEGER due;
    due.QuadPart = -(left / 100);   // negative: relative, in 100 ns steps
    if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(timer, INFINITE);
    else
        Sleep((DWORD)(left / 1000000));
}

void platform_sleep_ms(int32_t ms) {
    if (ms > 0)
        platform_sleep_until_ns(platform_now_ns() + (int64_t)ms * 1000000);
}

bool platform_dir_exists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The system's words for its last error, without the full stop and line end it adds.
static std::string last_error_words() {
    DWORD error = GetLastError();
    char  words[256] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), words, sizeof(words), nullptr);
    while (n > 0 && (words[n - 1] == '\r' || words[n - 1] == '\n' || words[n - 1] == '.' || words[n - 1] == ' '))
        words[--n] = 0;
    return n ? std::string(words) : "error " + std::to_string(error);
}

// Text from Windows' wide calls as UTF-8, the game's own text everywhere.
static std::string utf8_of(const wchar_t* text) {
    int         size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? (size_t)size : 1, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

static std::wstring wide_of(const std::string& utf8) {
    int          size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? (size_t)size : 1, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string platform_new_temp_folder(const char* prefix, std::string* why) {
    // asked in wide letters: the folder is the account's, and its name may be any
    wchar_t root[MAX_PATH + 1];
    DWORD   length = GetTempPathW(MAX_PATH + 1, root);
    if (length == 0 || length > MAX_PATH) {
        *why = "cannot find the folder for temporary files: " + last_error_words();
        return "";
    }
    std::string folder = utf8_of(root);
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    // no mkdtemp: the last six letters are drawn again until the folder is a new one
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned   made;
    for (int attempt = 0; attempt < 100; attempt++) {
        unsigned    mix = (unsigned)GetCurrentProcessId() * 2654435761u ^ (unsigned)platform_now_ns() * 40503u ^ ++made;
        std::string name = folder + "\\" + prefix + "-";
        for (int i = 0; i < 6; i++, mix /= 36)
            name += letters[mix % 36];
        if (CreateDirectoryW(wide_of(name).c_str(), nullptr))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    *why = "cannot make a folder in " + folder + ": " + last_error_words();
    return "";
}

// What is at path: a folder, a device or a pipe is no regular file; a name that holds nothing is.
static bool holds_other_than_a_file(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    HANDLE h = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool other = GetFileType(h) != FILE_TYPE_DISK;
    CloseHandle(h);
    return other;
}

static HANDLE open_new_beside(const char* path, std::string* temp) {
    static unsigned made;
    for (int tries = 0; tries < 100; tries++) {
        *temp = temporary_name(path, (unsigned)GetCurrentProcessId(), ++made);
        // CREATE_NEW never opens what is there, link or not
        HANDLE h = CreateFileA(temp->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

static uint64_t file_time(FILETIME t) { return (uint64_t)t.dwHighDateTime << 32 | t.dwLowDateTime; }

// Temporaries of path a killed writer left: plain files only, and only old ones,
// so a write under way in another process keeps its own.
static void sweep_left_overs(const char* path) {
    std::string      p = path, folder = p.substr(0, file_name_start(p));
    WIN32_FIND_DATAA entry;
    HANDLE           found = FindFirstFileA((folder + "*").c_str(), &entry);
    if (found == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t old = file_time(now) - (uint64_t)LEFT_OVER_SECONDS * 10000000;   // 100 ns steps
    do {
        bool plain = !(entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        if (plain && is_temporary_of(entry.cFileName, p) && file_time(entry.ftLastWriteTime) < old)
            DeleteFileA((folder + entry.cFileName).c_str());
    } while (FindNextFileA(found, &entry));
    FindClose(found);
}

static bool write_whole(HANDLE h, const void* bytes, size_t size) {
    const char* at = (const char*)bytes;
    while (size > 0) {
        DWORD part = size > 0x40000000 ? 0x40000000 : (DWORD)size, written = 0;
        if (!WriteFile(h, at, part, &written, nullptr) || written == 0)
            return false;
        at += written;
        size -= written;
    }
    return true;
}

bool platform_write_file(const char* path, const void* bytes, size_t size, std::string* why) {
    // a device, pipe or folder is never replaced; a missing file or a link is
    if (holds_other_than_a_file(path)) {
        *why = "is not a regular file";
        return false;
    }
    // first, so a disk that left-overs filled has room again
    sweep_left_overs(path);
    std::string temp;
    HANDLE      h = open_new_beside(path, &temp);
    if (h == INVALID_HANDLE_VALUE) {
        *why = "cannot write the file: " + last_error_words();
        return false;
    }
    bool written = write_whole(h, bytes, size);
    // the reason is taken before the close can change it
    std::string reason = written ? "" : last_error_words();
    if (!CloseHandle(h) && written) {
        written = false;
        reason = last_error_words();
    }
    if (written && !MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        written = false;
        reason = last_error_words();
    }
    if (!written) {
        *why = "cannot write the file: " + reason;
        DeleteFileA(temp.c_str());
    }
    return written;
}

FILE* platform_open_regular(const char* path, uint64_t max_bytes, std::string* why) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *why = "is not a regular file";
        return nullptr;
    }
    // others may write or replace the file while it is read, as on any other system
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *why = platform_cannot_open;
        return nullptr;
    }
    LARGE_INTEGER size;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
        CloseHandle(h);
        *why = "is not a regular file";
        return nullptr;
    }
    if ((uint64_t)size.QuadPart > max_bytes) {
        CloseHandle(h);
        *why = "is larger than " + std::to_string(max_bytes) + " bytes";
        return nullptr;
    }
    int fd = _open_osfhandle((intptr_t)h, _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        *why = platform_cannot_open;
        return nullptr;
    }
    FILE* f = _fdopen(fd, "rb");
    if (!f) {
        _close(fd);
        *why = platform_cannot_open;
    }
    return f;
}

long platform_read_small_file(const char* path, char* buf, size_t max_bytes) {
    // a folder cannot be opened this way, and a pipe or device is refused by its type
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    LARGE_INTEGER length;
    long          size = -1;
    if (GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &length) && (uint64_t)length.QuadPart <= max_bytes) {
        size = 0;
        DWORD got = 1;
        bool  ok = true;
        while (ok && got > 0 && (size_t)size < max_bytes) {
            ok = ReadFile(h, buf + size, (DWORD)(max_bytes - (size_t)size), &got, nullptr) != 0;
            size += ok ? (long)got : 0;
        }
        char more;
        // a failed read, or a byte past the limit: it grew since the size was asked
        if (!ok || ((size_t)size == max_bytes && (!ReadFile(h, &more, 1, &got, nullptr) || got != 0)))
            size = -1;
    }
    CloseHandle(h);
    return size;
}

void platform_start_output() {
    // this C library buffers a "line-buffered" stream whole, so lines are written as printed
    setvbuf(stdout, nullptr, _IONBF, 0);
    DWORD attached[2];
    bool  own_console = GetConsoleProcessList(attached, 2) == 1;
    if (own_console && GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR)
        FreeConsole();
}

// No observer is ever preloaded here.
void platform_frame_events(uint32_t) {}
void platform_frame_held() {}

// Windows' sound drivers print nothing of their own.
void platform_quiet_sound_library() {}

bool platform_make_folder(const char* path, std::string* why) {
    std::wstring wide = wide_of(path);
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        *why = last_error_words();
        return false;
    }
    // made or not, what is there now is looked at: a junction or link is no folder of the game's
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *why = last_error_words();
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    *why = attributes & FILE_ATTRIBUTE_REPARSE_POINT ? "is a link" : "is a file";
    return false;
}

// A plain file: no folder, no link or junction, no device.
static bool is_plain_file(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
}

std::vector<std::string> platform_files_in(const char* path) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW         entry;
    HANDLE                   found = FindFirstFileW(wide_of(std::string(path) + "\\*").c_str(), &entry);
    if (found == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (is_plain_file(entry.dwFileAttributes))
            names.push_back(utf8_of(entry.cFileName));
    } while (FindNextFileW(found, &entry));
    FindClose(found);
    return names;
}

bool platform_remove_file(const char* path) {
    std::wstring wide = wide_of(path);
    return is_plain_file(GetFileAttributesW(wide.c_str())) && DeleteFileW(wide.c_str());
}

bool platform_set_aside(const char* path, std::string* aside) {
    std::wstring from = wide_of(path);
    for (int attempt = 1; attempt <= ASIDE_NAMES_MAX; attempt++) {
        *aside = aside_name(path, attempt);
        // without MOVEFILE_REPLACE_EXISTING the move refuses a name that is taken
        if (MoveFileExW(from.c_str(), wide_of(*aside).c_str(), 0))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    aside->clear();
    return false;
}

std::string platform_local_time_name() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char name[32];
    snprintf(name, sizeof(name), "%04d-%02d-%02d-%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return name;
}
