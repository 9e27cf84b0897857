// A world's files as the picker reads them: the card ("world.txt") read is written back and
// reads the same, each value within what the screen shows; a picture (BMP, PNG or a palette BMP)
// made into the game's BMP is one the game's own reader judges, never read outside its bytes.
#include <string>
#include <vector>

#include "app/worlds.h"
#include "assets/bmp.h"
#include "fuzz_support.h"

static void card(const std::string& text) {
    world_info_t info;
    std::string  why;
    if (!world_info_from_text(text, &info, &why)) {
        FUZZ_CHECK(!why.empty());
        return;
    }
    FUZZ_CHECK(!info.title.empty() && info.title.size() <= WORLD_TITLE_MAX);
    FUZZ_CHECK(!info.maker.empty() && info.maker.size() <= WORLD_MAKER_MAX);
    FUZZ_CHECK(info.note.size() <= WORLD_NOTE_MAX);
    for (char c : info.title + info.maker + info.note)
        FUZZ_CHECK(c >= ' ' && c < 0x7f);
    world_info_t again;
    FUZZ_CHECK(world_info_from_text(world_info_to_text(info), &again, &why));
    FUZZ_CHECK(world_info_to_text(again) == world_info_to_text(info));
}

static void picture(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    std::string          why;
    if (!world_picture_bmp(&bytes, &why)) {
        FUZZ_CHECK(!why.empty());
        return;
    }
    level_map_t map;
    if (parse_level_picture(bytes.data(), bytes.size(), &map, &why))
        FUZZ_CHECK(map.pixels.size() >= (size_t)map.line_length * map.height);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    card(std::string((const char*)data, size));
    picture(data, size);
    return 0;
}
