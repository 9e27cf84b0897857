#include "playfolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/startup.h"
#include "game/levelmap.h"

namespace fs = std::filesystem;

static std::vector<std::string> made_folders;

static void remove_made_folders() {
    for (const std::string& f : made_folders) {
        std::error_code ec;
        fs::remove_all(f, ec);
    }
}

std::string make_temp_folder(const char* prefix) {
    std::string name = std::string("/tmp/") + prefix + "-XXXXXX";
    if (!mkdtemp(&name[0]))
        return "";
    if (made_folders.empty())
        atexit(remove_made_folders);
    made_folders.push_back(name);
    return name;
}

static bool write_bytes(const std::string& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)data, (std::streamsize)size);
    return (bool)out;
}

// The models and every picture set, as the build made them.
static bool copy_resources(const char* from, const std::string& to) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (entry.path().extension() == ".obj" || entry.is_directory())
            fs::copy(entry.path(), to + "/" + entry.path().filename().string(), fs::copy_options::recursive, ec);
        if (ec)
            return false;
    }
    return !ec;
}

// Models are only drawn: empty ones keep a window-free start-up quiet and quick.
static bool write_empty_models(const std::string& to) {
    bool ok = true;
    for (const char* model : model_files)
        ok = ok && write_bytes(to + "/" + resource_name(model), "", 0);
    return ok;
}

std::string build_play_folder(const std::vector<std::vector<uint8_t>>& level_bmps, const std::string& scale,
                              const char* resources_from, std::string* why) {
    std::string root = make_temp_folder("quovix-play");
    if (root.empty()) {
        *why = "cannot make a folder in /tmp";
        return "";
    }
    std::string resources = root + "/resources";
    std::error_code ec;
    fs::create_directories(root + "/bin", ec);
    fs::create_directories(resources, ec);
    bool ok = !ec && (resources_from ? copy_resources(resources_from, resources) : write_empty_models(resources));
    for (size_t i = 0; i < 5 && ok && !level_bmps.empty(); i++) {
        const std::vector<uint8_t>& bmp = level_bmps[std::min(i, level_bmps.size() - 1)];
        ok = write_bytes(resources + "/" + resource_name(level_files[i]), bmp.data(), bmp.size());
    }
    std::string scale_line = scale + "\n";
    ok = ok && write_bytes(root + "/bin/scale.txt", scale_line.data(), scale_line.size());
    if (!ok) {
        *why = "cannot write the play folder " + root;
        return "";
    }
    return root + "/bin";
}
