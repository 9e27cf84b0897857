// Makes a wider level picture from a 24-bit BMP by repeating its columns
// (column c of the result is column c mod w of the source), so the spawn tile
// and the ship's path stay as they are while the map to draw grows.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

static int32_t le32(const uint8_t* p) { return (int32_t)(p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24); }

static void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; i++)
        p[i] = (uint8_t)(v >> (8 * i));
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s in.bmp width out.bmp\n", argv[0]);
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    std::vector<uint8_t> src;
    uint8_t              buf[4096];
    size_t               n;
    while ((n = fread(buf, 1, sizeof(buf), in)) > 0)
        src.insert(src.end(), buf, buf + n);
    fclose(in);
    if (src.size() < 54 || src[0] != 'B' || src[1] != 'M' || le32(&src[28]) != 24) {
        fprintf(stderr, "%s: not a 24-bit BMP\n", argv[1]);
        return 1;
    }
    int sw = le32(&src[18]), h = le32(&src[22]), off = le32(&src[10]);
    int w = atoi(argv[2]);
    int srow = (sw * 3 + 3) & ~3, row = (w * 3 + 3) & ~3;
    if (sw <= 0 || h <= 0 || w <= 0 || (size_t)off + (size_t)srow * h > src.size()) {
        fprintf(stderr, "%s: unusable size\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> out(54 + (size_t)row * h, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(&out[2], (uint32_t)out.size());
    put32(&out[10], 54);
    put32(&out[14], 40);
    put32(&out[18], (uint32_t)w);
    put32(&out[22], (uint32_t)h);
    out[26] = 1;
    out[28] = 24;
    put32(&out[34], (uint32_t)(row * h));
    put32(&out[38], 2835);
    put32(&out[42], 2835);
    for (int r = 0; r < h; r++)
        for (int c = 0; c < w; c++)
            for (int b = 0; b < 3; b++)
                out[54 + (size_t)r * row + c * 3 + b] = src[off + (size_t)r * srow + (c % sw) * 3 + b];
    FILE* o = fopen(argv[3], "wb");
    if (!o || fwrite(out.data(), 1, out.size(), o) != out.size() || fclose(o) != 0) {
        perror(argv[3]);
        return 1;
    }
    return 0;
}
