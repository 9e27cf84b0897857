// The platform layer's own promises: settings read one way, the one writer and
// the one reader of whole files at the edges of their limits.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>

#include "platform/platform.h"
#include "platform/temporary.h"
#include "support.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

TEST(Settings, OnOffWordsAndOneLineForAnUnknownValue) {
    struct {
        const char* value;   // nullptr: unset
        bool        on;
        size_t      lines;
    } cases[] = {
        {nullptr, false, 0}, {"", false, 0},      {"0", false, 0},      {"false", false, 0}, {"no", false, 0},
        {"off", false, 0},   {"1", true, 0},      {"true", true, 0},    {"yes", true, 0},    {"on", true, 0},
        {"2", false, 1},     {"FALSE", false, 1}, {"enable", false, 1},
    };
    for (const auto& c : cases) {
        if (c.value)
            setenv("QUOVIX_TEST_SETTING", c.value, 1);
        else
            unsetenv("QUOVIX_TEST_SETTING");
        testing::internal::CaptureStderr();
        bool                     on = platform_setting_on("QUOVIX_TEST_SETTING");
        std::vector<std::string> said = lines_of(testing::internal::GetCapturedStderr());
        EXPECT_EQ(on, c.on) << (c.value ? c.value : "unset");
        ASSERT_EQ(said.size(), c.lines) << (c.value ? c.value : "unset");
        if (c.lines) {
            EXPECT_EQ(said[0].rfind(std::string("QUOVIX_TEST_SETTING=") + c.value + " is not known", 0), 0u) << said[0];
        }
    }
    unsetenv("QUOVIX_TEST_SETTING");
}

static std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

static void age(const std::string& path, int seconds) {
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::seconds(seconds));
}

// What the folder holds after one write of "new" over "old": the file, its temporaries
// a kill left, and names that only look like them.
TEST(FileWriter, WritesLongNamesAndSweepsOnlyItsOwnOldTemporaries) {
    std::string name_255(FILE_NAME_MAX, 'n'), name_249(249, 'm');
    // a name of 255 bytes whose cut for the temporary falls inside a two-byte letter
    std::string accented = std::string(247, 'a') + "\xc3\xa9" + std::string(6, 'b');
    struct {
        const char*              what;
        std::string              file;
        std::vector<std::string> young, old;   // placed before the write
        std::vector<std::string> after;        // besides the file
    } cases[] = {
        {"plain", "player.s", {}, {}, {}},
        {"249 bytes", name_249, {}, {}, {}},
        {"255 bytes", name_255, {}, {}, {}},
        {"255 bytes, cut in a letter", accented, {}, {}, {}},
        {"old left-overs swept", "player.s", {}, {"player.s.0a1b2c", "player.s.ffffff"}, {}},
        {"a write under way elsewhere kept", "player.s", {"player.s.123abc"}, {}, {"player.s.123abc"}},
        {"other names kept",
         "player.s",
         {},
         {"player.s.12345", "player.s.1234567", "player.s.ABCDEF", "player.s.tmp", "player.t.abcdef",
          "xplayer.s.abcdef"},
         {"player.s.12345", "player.s.1234567", "player.s.ABCDEF", "player.s.tmp", "player.t.abcdef",
          "xplayer.s.abcdef"}},
        {"a long name's old left-over swept", name_255, {}, {std::string(FILE_NAME_MAX - 7, 'n') + ".00beef"}, {}},
    };
    for (const auto& c : cases) {
        std::string dir = temp_folder() + "/", why;
#ifdef _WIN32
        // Windows programs without long-path support take whole paths of fewer than 260 letters
        if (dir.size() + c.file.size() >= 260)
            continue;
#endif
        write_text_file(dir + c.file, "old");
        for (const std::string& n : c.young)
            write_text_file(dir + n, "young");
        for (const std::string& n : c.old) {
            write_text_file(dir + n, "old");
            age(dir + n, LEFT_OVER_SECONDS + 5);
        }
        ASSERT_TRUE(platform_write_file((dir + c.file).c_str(), "new", 3, &why)) << c.what << ": " << why;
        EXPECT_EQ(read_text_file(dir + c.file), "new") << c.what;
        std::vector<std::string> want = c.after;
        want.push_back(c.file);
        std::sort(want.begin(), want.end());
        EXPECT_EQ(names_in(dir), want) << c.what;
    }
}

#ifndef _WIN32
// A write the system cuts short (here a child's file size limit) fails: the old
// file stays as it was and no temporary is left.
TEST(FileWriter, AWriteCutShortFailsAndKeepsTheOldFile) {
    std::string dir = temp_folder() + "/", file = dir + "level.bmp";
    write_text_file(file, "old");
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string why, bytes(5000, 'x');
        _exit(platform_write_file(file.c_str(), bytes.data(), bytes.size(), &why) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(read_text_file(file), "old");
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"level.bmp"});
}
#endif

// The reader takes a file of exactly its limit, refuses one a byte larger, and
// refuses a file that grew past it between the open and the read.
TEST(FileReader, AFileOfTheLimitIsReadAndOneByteMoreIsRefused) {
    const uint64_t max = 1000;
    struct {
        size_t      size, grown;   // at the open, then before the read
        bool        read;
        const char* why;
    } cases[] = {
        {999, 0, true, ""},
        {1000, 0, true, ""},
        {1001, 0, false, "is larger than 1000 bytes"},
        {1000, 1, false, "is larger than 1000 bytes"},
        {0, 0, true, ""},
    };
    std::string dir = temp_folder() + "/";
    for (const auto& c : cases) {
        std::string path = dir + std::to_string(c.size) + "-" + std::to_string(c.grown), why, bytes;
        write_text_file(path, std::string(c.size, 'r'));
        FILE* f = platform_open_regular(path.c_str(), max, &why);
        if (c.size > max) {
            EXPECT_EQ(f, nullptr) << path;
            EXPECT_EQ(why, c.why) << path;
            continue;
        }
        ASSERT_NE(f, nullptr) << path << ": " << why;
        if (c.grown) {
            FILE* more = fopen(path.c_str(), "ab");
            ASSERT_NE(more, nullptr);
            fputs(std::string(c.grown, 'g').c_str(), more);
            fclose(more);
        }
        EXPECT_EQ(platform_read_all(f, max, &bytes, &why), c.read) << path;
        if (c.read)
            EXPECT_EQ(bytes.size(), c.size) << path;
        else
            EXPECT_EQ(why, c.why) << path;
    }
}

// The small reader takes a regular file up to its limit and gives -1, at once, for
// anything else: what a file read every frame must never wait on or take in part.
TEST(FileReader, ASmallFileIsReadWholeAndAnythingElseIsRefusedAtOnce) {
    std::string dir = temp_folder() + "/";
    write_text_file(dir + "empty", "");
    write_text_file(dir + "under", std::string(63, 'u'));
    write_text_file(dir + "at_the_limit", std::string(64, 'l'));
    write_text_file(dir + "over", std::string(65, 'o'));
    fs::create_directory(dir + "folder");
    make_device_node(dir + "device");
#ifndef _WIN32
    mkfifo((dir + "fifo").c_str(), 0600);
    fs::create_symlink(dir + "at_the_limit", dir + "link");
#endif
    struct {
        const char* name;
        long        size;
    } cases[] = {
        {"empty", 0},   {"under", 63}, {"at_the_limit", 64}, {"over", -1}, {"missing", -1},
        {"folder", -1}, {"fifo", -1},  {"device", -1},       {"link", 64},
    };
    for (const auto& c : cases) {
        std::string path = dir + c.name;
        // a link is only made where the system lets this user make one
        if (c.size > 0 && !fs::exists(path))
            continue;
        char buf[64];
        EXPECT_EQ(platform_read_small_file(path.c_str(), buf, sizeof(buf)), c.size) << c.name;
        if (c.size > 0) {
            EXPECT_EQ(std::string(buf, (size_t)c.size), read_text_file(path)) << c.name;
        }
    }
}

// What is at the path before the folder is asked for decides the answer.
TEST(Folders, AMissingFolderIsMadeAndWhatIsNoRealFolderIsRefused) {
    struct {
        const char* what;
        const char* made;   // what the path holds first
        bool        folder;
        const char* why;
    } cases[] = {
        {"missing", "", true, ""},
        {"a folder", "folder", true, ""},
        {"a file", "file", false, "is a file"},
#ifndef _WIN32
        {"a link to a folder", "link", false, "is a link"},
#endif
        {"inside a missing folder", "nothing above", false, ""},   // the system's own words
    };
    std::string dir = temp_folder();
    for (const auto& c : cases) {
        std::string path = dir + "/" + c.what, made = c.made, why;
        if (made == "folder")
            fs::create_directory(path);
        else if (made == "file")
            write_text_file(path, "x");
        else if (made == "link")
            fs::create_directory_symlink(dir, path);
        else if (made == "nothing above")
            path += "/replays";
        EXPECT_EQ(platform_make_folder(path.c_str(), &why), c.folder) << c.what;
        EXPECT_EQ(platform_dir_exists(path.c_str()), c.folder || made == "link") << c.what;
        if (!c.folder) {
            EXPECT_TRUE(!why.empty() && why.find(c.why) != std::string::npos) << c.what << ": " << why;
        }
    }
}

TEST(Folders, OnlyRegularFilesAreListedAndRemoved) {
    std::string dir = temp_folder() + "/";
    write_text_file(dir + "a.replay", "a");
    fs::create_directory(dir + "folder");
#ifndef _WIN32
    fs::create_symlink(dir + "a.replay", dir + "link");
    mkfifo((dir + "fifo").c_str(), 0600);
#endif
    EXPECT_EQ(platform_files_in(dir.c_str()), std::vector<std::string>{"a.replay"});
    for (const char* name : {"folder", "link", "fifo", "missing"})
        EXPECT_FALSE(platform_remove_file((dir + name).c_str())) << name;
    EXPECT_TRUE(platform_remove_file((dir + "a.replay").c_str()));
    EXPECT_TRUE(platform_files_in(dir.c_str()).empty());
    EXPECT_TRUE(fs::is_directory(dir + "folder"));
}

TEST(Folders, AFileIsSetAsideUnderANameNothingHolds) {
    std::string path = temp_folder() + "/records.txt", aside;
    write_text_file(path + ".damaged", "first");
    write_text_file(path, "second");
    ASSERT_TRUE(platform_set_aside(path.c_str(), &aside));
    EXPECT_EQ(aside, path + ".damaged-2");
    EXPECT_EQ(read_text_file(aside), "second");
    EXPECT_EQ(read_text_file(path + ".damaged"), "first");
    EXPECT_FALSE(platform_set_aside(path.c_str(), &aside));
}

TEST(Folders, TheLocalTimeNamesAFile) {
    std::string name = platform_local_time_name();
    ASSERT_EQ(name.size(), 17u) << name;
    for (size_t i = 0; i < name.size(); i++)
        EXPECT_EQ(name[i] == '-', i == 4 || i == 7 || i == 10) << name;
}
