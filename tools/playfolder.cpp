#include "playfolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "assets/icon.h"
#include "assets/startup.h"
#include "game/levelmap.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

static std::vector<std::string> made_folders;

static void remove_made_folders() {
    for (const std::string& f : made_folders)
        platform_remove_folder(f.c_str());
}

std::string make_temp_folder(const char* prefix, std::string* why) {
    std::string name = platform_new_temp_folder(prefix, why);
    if (name.empty())
        return "";
    if (made_folders.empty())
        atexit(remove_made_folders);
    made_folders.push_back(name);
    return name;
}

static bool write_bytes(const std::string& path, const void* data, size_t size) {
    std::string why;
    return platform_write_file(path.c_str(), data, size, &why);
}

// A file read whole and written through the one writer.
static bool copy_resource(const fs::path& from, const fs::path& to) {
    std::string bytes, why;
    FILE*       f = platform_open_regular(from.u8string().c_str(), UINT64_MAX, &why);
    return f && platform_read_all(f, UINT64_MAX, &bytes, &why) &&
           write_bytes(to.u8string(), bytes.data(), bytes.size());
}

// The models and every picture set, as the build made them: at the top only the
// models and the window's icon are taken, inside a set everything.
static bool copy_resources(const fs::path& from, const fs::path& to, bool top = true) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        fs::path target = to / entry.path().filename();
        bool     ok = true;
        if (entry.is_directory()) {
            fs::create_directory(target, ec);
            ok = !ec && copy_resources(entry.path(), target, false);
        } else if (!top || entry.path().extension() == ".obj" || entry.path().filename() == resource_name(ICON_PATH)) {
            ok = copy_resource(entry.path(), target);
        }
        if (!ok)
            return false;
    }
    return !ec;
}

// Models are only drawn: empty ones keep a window-free start-up quiet and quick.
static bool write_empty_models(const std::string& to) {
    bool ok = true;
    for (const model_file_t& model : model_files)
        ok = ok && write_bytes(to + "/" + resource_name(model.path), "", 0);
    return ok;
}

std::string build_play_folder(const std::vector<std::vector<uint8_t>>& level_bmps, const std::string& scale,
                              const char* resources_from, std::string* why) {
    std::string root = make_temp_folder("quovix-play", why);
    if (root.empty())
        return "";
    std::string     resources = root + "/resources";
    std::error_code ec;
    fs::create_directories(fs::u8path(root + "/bin"), ec);
    fs::create_directories(fs::u8path(resources), ec);
    bool ok = !ec && (resources_from ? copy_resources(fs::u8path(resources_from), fs::u8path(resources))
                                     : write_empty_models(resources));
    for (size_t i = 0; i < LEVEL_COUNT && ok && !level_bmps.empty(); i++) {
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
