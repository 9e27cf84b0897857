// The thin layer over a POSIX system: clocks, sleeps, files, folders.
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/temporary.h"

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

int64_t platform_now_ns() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * 1000000000 + ts.tv_nsec;
}

void platform_sleep_until_ns(int64_t when) {
    // an absolute deadline: a signal or a late wake-up never adds up across frames
    timespec ts = {(time_t)(when / 1000000000), (long)(when % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

std::string platform_new_temp_folder(const char* prefix, std::string* why) {
    const char* root = platform_setting("TMPDIR");
    std::string folder = root && *root == '/' ? root : "/tmp";
    std::string name = folder + "/" + prefix + "-XXXXXX";
    if (!mkdtemp(&name[0])) {
        *why = "cannot make a folder in " + folder + ": " + strerror(errno);
        return "";
    }
    return name;
}

bool platform_dir_exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// A name beside path that nothing holds yet, opened for writing; -1 when none can be made.
static int open_new_beside(const char* path, std::string* temp) {
    static unsigned made;
    for (int tries = 0; tries < 100; tries++) {
        *temp = temporary_name(path, (unsigned)getpid(), ++made);
        // 0666 less the umask, as any program's new file; O_EXCL never opens what is there, link or not
        int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Temporaries of path a killed writer left: regular files only, and only old ones,
// so a write under way in another process keeps its own.
static void sweep_left_overs(const char* path) {
    std::string p = path, folder = p.substr(0, file_name_start(p));
    DIR*        dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    time_t old = time(nullptr) - LEFT_OVER_SECONDS;
    while (dirent* entry = readdir(dir)) {
        struct stat st;
        std::string name = folder + entry->d_name;
        if (is_temporary_of(entry->d_name, p) && lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_mtime < old)
            unlink(name.c_str());
    }
    closedir(dir);
}

static bool write_whole(int fd, const void* bytes, size_t size) {
    const char* at = (const char*)bytes;
    while (size > 0) {
        ssize_t n = write(fd, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        size -= (size_t)n;
    }
    return true;
}

bool platform_write_file(const char* path, const void* bytes, size_t size, std::string* why) {
    // a device or FIFO is never replaced, nor a folder; a missing file or a dangling link is
    struct stat st;
    if (stat(path, &st) == 0 && !S_ISREG(st.st_mode)) {
        *why = "is not a regular file";
        return false;
    }
    // first, so a disk that left-overs filled has room again
    sweep_left_overs(path);
    std::string temp;
    int         fd = open_new_beside(path, &temp);
    if (fd < 0) {
        *why = std::string("cannot write the file: ") + strerror(errno);
        return false;
    }
    bool written = write_whole(fd, bytes, size);
    written = close(fd) == 0 && written;
    if (!written || rename(temp.c_str(), path) != 0) {
        // the OS's reason, before the clean-up can change it
        *why = std::string("cannot write the file: ") + strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

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

long platform_read_small_file(const char* path, char* buf, size_t max_bytes) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st;
    long        size = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (uint64_t)st.st_size <= max_bytes) {
        size = 0;
        ssize_t got = 0;
        while ((size_t)size < max_bytes && (got = read(fd, buf + size, max_bytes - (size_t)size)) > 0)
            size += got;
        char more;
        // a failed read, or a byte past the limit: it grew since the size was asked
        if (got < 0 || ((size_t)size == max_bytes && read(fd, &more, 1) != 0))
            size = -1;
    }
    close(fd);
    return size;
}

void platform_start_output() { setvbuf(stdout, nullptr, _IOLBF, 0); }

void platform_frame_events(uint32_t events) {
    typedef void (*observer_t)(uint32_t);
    // looked up once: an observer is preloaded before the game starts, or never
    static observer_t observer = (observer_t)dlsym(RTLD_DEFAULT, "quovix_frame_events");
    if (observer)
        observer(events);
}

void platform_frame_held() {
    typedef void (*observer_t)();
    static observer_t observer = (observer_t)dlsym(RTLD_DEFAULT, "quovix_frame_held");
    if (observer)
        observer();
}

static void say_nothing(const char*, int, const char*, int, const char*, ...) {}

void platform_quiet_sound_library() {
    // only a library the sound library already loaded: nothing is loaded for this
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa)
        return;
    typedef int (*set_handler_fn)(void (*)(const char*, int, const char*, int, const char*, ...));
    if (auto set = (set_handler_fn)dlsym(alsa, "snd_lib_error_set_handler"))
        set(say_nothing);
    dlclose(alsa);
}

bool platform_make_folder(const char* path, std::string* why) {
    // made or not, what is there now is looked at without following a link
    int         made = mkdir(path, 0777);
    int         error = errno;
    struct stat st;
    if (lstat(path, &st) != 0) {
        *why = strerror(made != 0 ? error : errno);
        return false;
    }
    if (S_ISDIR(st.st_mode))
        return true;
    *why = S_ISLNK(st.st_mode) ? "is a link" : S_ISREG(st.st_mode) ? "is a file" : "is not a folder";
    return false;
}

std::vector<std::string> platform_files_in(const char* path) {
    std::vector<std::string> names;
    DIR*                     dir = opendir(path);
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir)) {
        struct stat st;
        std::string name = std::string(path) + "/" + entry->d_name;
        if (lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            names.push_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

bool platform_remove_file(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0 && S_ISREG(st.st_mode) && unlink(path) == 0;
}

// Renames from to to only when nothing holds to; false with errno set otherwise.
static bool move_if_free(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // a file system without the refusing rename: the name is looked at first
    struct stat st;
    if (lstat(to, &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return rename(from, to) == 0;
}

bool platform_set_aside(const char* path, std::string* aside) {
    for (int attempt = 1; attempt <= ASIDE_NAMES_MAX; attempt++) {
        *aside = aside_name(path, attempt);
        if (move_if_free(path, aside->c_str()))
            return true;
        if (errno != EEXIST && errno != ENOTEMPTY)
            break;
    }
    aside->clear();
    return false;
}

std::string platform_local_time_name() {
    time_t now = time(nullptr);
    tm     local;
    char   name[32] = "";
    if (localtime_r(&now, &local))
        strftime(name, sizeof(name), "%Y-%m-%d-%H%M%S", &local);
    return name;
}
