// quovix-level: turn level sources into pictures and back, and check pictures.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/levelsource.h"

static bool read_file(const char* path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

static bool write_file(const char* path, const void* data, size_t size) {
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

static int fail(const char* path, const std::string& why) {
    fprintf(stderr, "%s: %s\n", path, why.c_str());
    return 1;
}

static int to_bmp(const char* in, const char* out) {
    std::vector<uint8_t> text;
    if (!read_file(in, &text))
        return fail(in, "cannot read the file");
    level_grid_t grid;
    std::string why;
    if (!level_from_text(std::string(text.begin(), text.end()), &grid, &why))
        return fail(in, why);
    std::vector<uint8_t> bmp = level_to_bmp(grid);
    if (!write_file(out, bmp.data(), bmp.size()))
        return fail(out, "cannot write the file");
    return 0;
}

static int to_text(const char* in, const char* out) {
    std::vector<uint8_t> bytes;
    if (!read_file(in, &bytes))
        return fail(in, "cannot read the file");
    level_grid_t grid;
    std::string why;
    if (!level_from_bmp(bytes, &grid, &why))
        return fail(in, why);
    std::string text = level_to_text(grid);
    if (!write_file(out, text.data(), text.size()))
        return fail(out, "cannot write the file");
    return 0;
}

static void usage() {
    fprintf(stderr,
            "usage: quovix-level bmp SOURCE.txt OUT.bmp    make a level picture\n"
            "       quovix-level text LEVEL.bmp OUT.txt    turn a picture back into text\n");
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "bmp") == 0)
        return to_bmp(argv[2], argv[3]);
    if (argc == 4 && strcmp(argv[1], "text") == 0)
        return to_text(argv[2], argv[3]);
    usage();
    return 2;
}
