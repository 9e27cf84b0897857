// Test helpers: play folders laid out as a player's, with levels from text.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/bytes.h"

#ifdef _WIN32
// The POSIX calls the window-free suites make, in Windows' terms.
#include <direct.h>
#include <stdlib.h>
inline int mkdir(const char* path, int) { return _mkdir(path); }
inline int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
// programs run through cmd, whose exit status system and _pclose give as it is; the
// command is UTF-8, as every name the game handles, and reaches cmd in wide letters
FILE* utf8_popen(const char* command, const char* mode);
#undef popen
#define popen utf8_popen
#define pclose _pclose
#define WIFEXITED(status) ((status) != -1)
#define WEXITSTATUS(status) (status)
#else
#include <sys/wait.h>
#endif

// A text level LEVEL_WIDTH by LEVEL_HEIGHT: floor on columns 1 to 5, gaps on 0 and 6,
// the top 12 rows finish; rows listed in `rows` (row 0 is the near end) replaced.
struct level_edit_t {
    int         row;
    std::string tiles;   // 7 characters
};
std::string plain_level(const std::vector<level_edit_t>& rows = {}, bool with_finish = true);
// The same rows, each as `tiles`, from row `first` to row `last`.
std::vector<level_edit_t> rows_of(int first, int last, const std::string& tiles);
// A level text as the game reads it: a 24-bit picture.
std::vector<uint8_t> level_bmp(const std::string& text);

// Makes <tmp>/play/bin and <tmp>/play/resources with the five levels given as
// text (fewer than five repeats the last), the game's generated models and
// pictures, and scale.txt holding `scale`. Returns the bin folder.
std::string make_play_folder(const std::vector<std::string>& levels, const std::string& scale = "1");
// The games the window kept beside a play folder's bin/ ("*.replay" in replays/), by name.
std::vector<std::string> kept_games(const std::string& bin);

std::string read_text_file(const std::string& path);
void        write_text_file(const std::string& path, const std::string& text);
void        write_binary_file(const std::string& path, const std::vector<uint8_t>& bytes);
std::string temp_folder();   // fresh, removed at exit
// A device node of the null device's kind at path, in a test's own folder, so no test
// names the machine's devices; false where the system refuses to make one.
bool                     make_device_node(const std::string& path);
bool                     file_exists(const std::string& path);
std::vector<std::string> lines_of(const std::string& text);
FILE*                    file_of(const std::vector<uint8_t>& bytes);   // a temporary file holding the bytes
// The bytes as gzip -9 packs them, as the zip carries the picture sets.
std::string gzipped(const std::string& bytes);
inline void put32(std::vector<uint8_t>& bytes, size_t at, int32_t value) { write_le32(&bytes[at], (uint32_t)value); }

// True when text is five whole lines: level one's record with the given stars
// and lives (any time), then four untouched records.
bool level_one_record_only(const std::string& text, int stars, int lives);

// Each case in a fresh working folder of its own, the game's state reset around it.
struct InFreshFolder : testing::Test {
    std::string dir, home;
    void        SetUp() override;
    void        TearDown() override;
};
