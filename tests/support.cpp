#include "support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/sysmacros.h>
#endif

#include "app/headless.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "game/levelmap.h"
#include "playfolder.h"

namespace fs = std::filesystem;

std::string temp_folder() {
    std::string why, name = make_temp_folder("quovix-test", &why);
    if (name.empty()) {
        fprintf(stderr, "%s\n", why.c_str());
        abort();
    }
    return name;
}

#ifdef _WIN32
static std::wstring wide_of(const char* utf8) {
    int          size = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(size > 0 ? (size_t)size : 1, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

FILE* utf8_popen(const char* command, const char* mode) {
    // cmd takes the text after /c whole when the outer quotes go, so each argument keeps its own
    std::wstring whole = L"\"" + wide_of(command) + L"\"";
    return _wpopen(whole.c_str(), wide_of(mode).c_str());
}
#endif

bool make_device_node(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
#endif
}

std::vector<level_edit_t> rows_of(int first, int last, const std::string& tiles) {
    std::vector<level_edit_t> rows;
    for (int r = first; r <= last; r++)
        rows.push_back({r, tiles});
    return rows;
}

std::string plain_level(const std::vector<level_edit_t>& rows, bool with_finish) {
    std::vector<std::string> grid(LEVEL_HEIGHT, ".#####.");
    if (with_finish)
        for (int r = LEVEL_HEIGHT - 12; r < LEVEL_HEIGHT; r++)
            grid[r] = ".FFFFF.";
    for (const level_edit_t& e : rows)
        grid[e.row] = e.tiles;
    std::string text;
    for (int r = LEVEL_HEIGHT - 1; r >= 0; r--)
        text += grid[r] + "\n";
    return text;
}

std::vector<uint8_t> level_bmp(const std::string& text) {
    level_grid_t grid;
    std::string  why;
    if (!level_from_text(text, &grid, &why)) {
        fprintf(stderr, "bad test level: %s\n", why.c_str());
        abort();
    }
    return level_to_bmp(grid);
}

std::string read_text_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_text_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void write_binary_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

std::string gzipped(const std::string& bytes) {
    z_stream z = {};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string packed(deflateBound(&z, (uLong)bytes.size()) + 32, '\0');
    z.next_in = (Bytef*)bytes.data();
    z.avail_in = (uInt)bytes.size();
    z.next_out = (Bytef*)&packed[0];
    z.avail_out = (uInt)packed.size();
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    return packed;
}

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream       in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A file of its own in the run's folder: Windows' tmpfile() makes its files in the drive's
// root and at times gives none, and a parser handed no file would crash the test program.
FILE* file_of(const std::vector<uint8_t>& bytes) {
    static const std::string folder = temp_folder();
    static int               made = 0;
    std::string              path = folder + "/bytes-" + std::to_string(made++);
    FILE*                    f = fopen(path.c_str(), "w+b");
    if (!f)
        abort();
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), f);
    rewind(f);
    return f;
}

bool level_one_record_only(const std::string& text, int stars, int lives) {
    std::istringstream in(text);
    int                level = 0, got_stars = 0, got_lives = 0;
    long               time = -1;
    std::string        rest;
    if (!(in >> level >> got_stars >> time >> got_lives) || level != 1 || got_stars != stars || time < 0 ||
        got_lives != lives)
        return false;
    std::getline(in, rest);
    std::string tail((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return rest.empty() && tail == "0 0 0 0\n0 0 0 0\n0 0 0 0\n0 0 0 0\n";
}

std::vector<std::string> kept_games(const std::string& bin) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(bin + "/../replays"))
        if (entry.path().extension() == ".replay")
            names.push_back(entry.path().filename().string());
    return names;
}

std::string make_play_folder(const std::vector<std::string>& levels, const std::string& scale) {
    std::vector<std::vector<uint8_t>> bmps;
    for (const std::string& text : levels)
        bmps.push_back(level_bmp(text));
    std::string why;
    std::string bin = build_play_folder(bmps, scale, QUOVIX_RESOURCES_DIR, &why);
    if (bin.empty()) {
        fprintf(stderr, "%s\n", why.c_str());
        abort();
    }
    return bin;
}

void InFreshFolder::SetUp() {
    reset_game_state();
    home = fs::current_path().string();
    dir = temp_folder();
    ASSERT_EQ(chdir(dir.c_str()), 0);
}

void InFreshFolder::TearDown() {
    chmod(dir.c_str(), 0700);
    EXPECT_EQ(chdir(home.c_str()), 0);
    reset_game_state();
}
