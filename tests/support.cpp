#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "assets/levelsource.h"

namespace fs = std::filesystem;

static std::vector<std::string> made_folders;

static void remove_made_folders() {
    for (const std::string& f : made_folders) {
        std::error_code ec;
        fs::remove_all(f, ec);
    }
}

std::string temp_folder() {
    char name[] = "/tmp/quovix-test-XXXXXX";
    if (!mkdtemp(name))
        abort();
    if (made_folders.empty())
        atexit(remove_made_folders);
    made_folders.push_back(name);
    return name;
}

std::string plain_level(const std::vector<level_edit>& rows, bool with_finish) {
    std::vector<std::string> grid(240, ".#####.");
    if (with_finish)
        for (int r = 228; r < 240; r++)
            grid[r] = ".FFFFF.";
    for (const level_edit& e : rows)
        grid[e.row] = e.tiles;
    std::string text;
    for (int r = 239; r >= 0; r--)
        text += grid[r] + "\n";
    return text;
}

std::string read_text_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_text_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void write_binary_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

std::string make_play_folder(const std::vector<std::string>& levels, const std::string& scale) {
    static const char* const names[5] = {"levelone", "leveltwo", "levelthree", "levelfour", "levelfive"};
    std::string root = temp_folder() + "/play";
    fs::create_directories(root + "/bin");
    fs::create_directories(root + "/resources");
    for (const auto& entry : fs::directory_iterator(QUOVIX_RESOURCES_DIR)) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".obj" || entry.is_directory())
            fs::copy(entry.path(), root + "/resources/" + name, fs::copy_options::recursive);
    }
    for (int i = 0; i < 5 && !levels.empty(); i++) {
        const std::string& text = levels[(size_t)i < levels.size() ? i : levels.size() - 1];
        level_grid_t grid;
        std::string why;
        if (!level_from_text(text, &grid, &why)) {
            fprintf(stderr, "bad test level: %s\n", why.c_str());
            abort();
        }
        write_binary_file(root + "/resources/" + names[i] + ".bmp", level_to_bmp(grid));
    }
    write_text_file(root + "/bin/scale.txt", scale + "\n");
    return root + "/bin";
}
