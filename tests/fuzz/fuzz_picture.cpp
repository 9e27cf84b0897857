// Raw pictures: the first two bytes choose a small width and height (zero and
// negative included), the rest is the file. The pixels come back red-green-blue,
// as many as asked for, with whatever the file lacked left black.
#include <cstring>

#include "assets/picture.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    int                  width = (int)(data[0] % 67) - 2;   // -2 to 64
    int                  height = (int)(data[1] % 67) - 2;
    const uint8_t*       file = data + 2;
    size_t               file_size = size - 2;
    std::vector<uint8_t> copy;
    FILE*                f = open_bytes(&copy, file, file_size);
    if (!f)
        return 0;
    std::vector<uint8_t> rgb = read_picture(f, width, height);
    size_t               pixels = width > 0 && height > 0 ? (size_t)width * height : 0;
    FUZZ_CHECK(rgb.size() == pixels * 3);
    for (size_t i = 0; i < pixels * 3; i++) {
        size_t  from = i - i % 3 + (2 - i % 3);   // blue and red trade places
        uint8_t want = from < file_size ? file[from] : 0;
        FUZZ_CHECK(rgb[i] == want);
    }
    return 0;
}
