#include "assets/icon.h"

#include <cstdio>
#include <string>

#include "platform/bytes.h"
#include "platform/platform.h"

bool is_icon(const std::vector<uint32_t>& numbers) {
    size_t at = 0;
    while (at + 2 <= numbers.size()) {
        uint32_t w = numbers[at], h = numbers[at + 1];
        if (w == 0 || h == 0 || w > ICON_SIDE_MAX || h > ICON_SIDE_MAX)
            return false;
        at += 2 + (size_t)w * h;
    }
    return at > 0 && at == numbers.size();
}

// A missing icon stays quiet, as a missing model does; one that cannot be used is named.
std::vector<uint32_t> read_icon(const char* path) {
    std::string why, bytes;
    FILE*       f = platform_open_regular(path, ICON_FILE_MAX_BYTES, &why);
    if (!f || !platform_read_all(f, ICON_FILE_MAX_BYTES, &bytes, &why)) {
        if (why != platform_cannot_open)
            fprintf(stderr, "%s: %s\n", path, why.c_str());
        return {};
    }
    std::vector<uint32_t> numbers;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4)
        numbers.push_back((uint32_t)read_le32((const uint8_t*)bytes.data() + i));
    if (bytes.size() % 4 != 0 || !is_icon(numbers)) {
        fprintf(stderr, "%s: is not an icon; the window has none\n", path);
        return {};
    }
    return numbers;
}
