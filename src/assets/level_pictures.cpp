#include "assets/level_pictures.h"

#include <png.h>

#include <cctype>
#include <cstring>

#include "assets/bmp.h"
#include "platform/bytes.h"

// Beyond any level by far; keeps a hostile header from asking for gigabytes.
static const uint64_t max_level_pixels = 1u << 24;

static uint32_t get32(const std::vector<uint8_t>& f, size_t at) { return (uint32_t)read_le32(&f[at]); }

static std::string size_text(int64_t w, int64_t h) { return std::to_string(w) + "x" + std::to_string(h); }

bool is_png(const std::vector<uint8_t>& file) { return file.size() >= 8 && png_sig_cmp(file.data(), 0, 8) == 0; }

int bmp_bits(const std::vector<uint8_t>& file) {
    if (file.size() < BMP_HEADERS_SIZE || file[0] != 'B' || file[1] != 'M')
        return 0;
    return (uint16_t)read_le16(&file[BMP_BITS_AT]);
}

bool is_palette_bmp(const std::vector<uint8_t>& file) {
    int bits = bmp_bits(file);
    return bits == 1 || bits == 4 || bits == 8;
}

// --- PNG ---

struct png_source_t {
    const std::vector<uint8_t>* file;
    size_t                      at;
    std::string*                why;
};

static void png_failed(png_structp png, png_const_charp message) {
    png_source_t* src = (png_source_t*)png_get_error_ptr(png);
    *src->why = std::string("not a readable PNG: ") + message;
    png_longjmp(png, 1);
}

static void png_quiet(png_structp, png_const_charp) {}

static void png_read_bytes(png_structp png, png_bytep out, size_t count) {
    png_source_t* src = (png_source_t*)png_get_io_ptr(png);
    if (count > src->file->size() - src->at)
        png_error(png, "the file ends early");
    memcpy(out, src->file->data() + src->at, count);
    src->at += count;
}

// Rows as the picture shows them (the far end first) into the grid (the near end
// first). A see-through pixel is a gap; a partly see-through one, left by a smoothing
// brush, has no tile it could be, so the picture is refused naming the first.
static bool rgba_to_grid(const std::vector<uint8_t>& rgba, int w, int h, level_grid_t* grid, std::string* why) {
    grid->width = w;
    grid->height = h;
    grid->bgr.assign((size_t)w * h * 3, 0);
    long partly = 0;
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const uint8_t* p = &rgba[((size_t)y * w + x) * 4];
            uint8_t*       t = &grid->bgr[((size_t)(h - 1 - y) * w + x) * 3];
            if (p[3] == 255)
                t[0] = p[2], t[1] = p[1], t[2] = p[0];
            else if (p[3] != 0 && partly++ == 0)
                *why = "column " + std::to_string(x) + ", row " + std::to_string(h - 1 - y) + " (line " +
                       std::to_string(y + 1) + " from the top) is partly see-through (alpha " + std::to_string(p[3]) +
                       ")";
        }
    }
    if (partly > 1)
        *why += ", and " + std::to_string(partly - 1) + " more pixels";
    if (partly > 0)
        *why += ": a level needs solid pixels, or fully see-through ones for gaps";
    return partly == 0;
}

// One byte an index, rows top first, into RGBA by the palette and its
// see-through table; an index past the palette is refused as the palette BMP's is,
// where libpng would make it some colour silently.
static bool palette_to_rgba(png_structp png, png_infop info, std::vector<uint8_t>* pixels, png_uint_32 w,
                            std::string* why) {
    png_colorp palette = nullptr;
    png_bytep  alpha = nullptr;
    int        colours = 0, alphas = 0;
    png_get_PLTE(png, info, &palette, &colours);
    png_get_tRNS(png, info, &alpha, &alphas, nullptr);
    std::vector<uint8_t> rgba(pixels->size() * 4);
    for (size_t at = 0; at < pixels->size(); at++) {
        int index = (*pixels)[at];
        if (index >= colours) {
            size_t y = at / w, h = pixels->size() / w;
            *why = "column " + std::to_string(at % w) + ", row " + std::to_string(h - 1 - y) + " (line " +
                   std::to_string(y + 1) + " from the top): colour " + std::to_string(index) +
                   " is not in the palette of " + std::to_string(colours);
            return false;
        }
        uint8_t* p = &rgba[at * 4];
        p[0] = palette[index].red, p[1] = palette[index].green, p[2] = palette[index].blue;
        p[3] = index < alphas ? alpha[index] : 255;
    }
    pixels->swap(rgba);
    return true;
}

// The pixels as 8-bit RGBA rows, top row first; false (the reason in src->why) on a libpng error.
static bool read_png_rgba(png_structp png, png_infop info, png_source_t* src, std::vector<uint8_t>* rgba,
                          std::vector<png_bytep>* rows, png_uint_32* w, png_uint_32* h) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, src, png_read_bytes);
    png_read_info(png, info);
    *w = png_get_image_width(png, info);
    *h = png_get_image_height(png, info);
    if ((uint64_t)*w * *h > max_level_pixels) {
        *src->why = "is " + size_text(*w, *h) + ", far too big for a level";
        return false;
    }
    // the colours exactly as painted: no gamma or colour-space correction
    bool palette = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
    if (palette) {
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    size_t pixel_bytes = palette ? 1 : 4;
    if (png_get_rowbytes(png, info) != (size_t)*w * pixel_bytes)
        png_error(png, "unexpected row layout");
    rgba->resize((size_t)*w * *h * pixel_bytes);
    rows->resize(*h);
    for (png_uint_32 y = 0; y < *h; y++)
        (*rows)[y] = &(*rgba)[(size_t)y * *w * pixel_bytes];
    png_read_image(png, rows->data());
    return !palette || palette_to_rgba(png, info, rgba, *w, src->why);
}

// Each chunk must lie inside the file: libpng would otherwise take a chunk's
// claimed size at its word and ask for gigabytes before finding the file short.
static bool png_chunks_fit(const std::vector<uint8_t>& file, std::string* why) {
    for (size_t at = 8; at + 8 <= file.size();) {
        uint64_t length = (uint64_t)file[at] << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (length + 12 > file.size() - at) {
            bool named =
                isalpha(file[at + 4]) && isalpha(file[at + 5]) && isalpha(file[at + 6]) && isalpha(file[at + 7]);
            std::string name = named ? std::string((const char*)&file[at + 4], 4) : "with no name";
            *why = "not a readable PNG: a chunk " + name + " claims " + std::to_string(length) +
                   " bytes, past the end of the file";
            return false;
        }
        if (memcmp(&file[at + 4], "IEND", 4) == 0)
            break;   // what some programs leave after the end is not read
        at += length + 12;
    }
    return true;
}

bool level_from_png(const std::vector<uint8_t>& file, level_grid_t* grid, std::string* why) {
    if (!png_chunks_fit(file, why))
        return false;
    png_source_t           src = {&file, 0, why};
    std::vector<uint8_t>   rgba;
    std::vector<png_bytep> rows;
    png_uint_32            w = 0, h = 0;
    png_structp            png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, png_failed, png_quiet);
    png_infop              info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        *why = "out of memory";
        return false;
    }
    bool ok = read_png_rgba(png, info, &src, &rgba, &rows, &w, &h);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok && rgba_to_grid(rgba, (int)w, (int)h, grid, why);
}

// --- BMP with a palette ---

bool level_from_palette_bmp(const std::vector<uint8_t>& f, level_grid_t* grid, std::string* why) {
    if (!is_palette_bmp(f)) {
        *why = "not a BMP with a palette";
        return false;
    }
    uint32_t offset = get32(f, BMP_DATA_OFFSET_AT), header = get32(f, BMP_INFO_AT);
    uint32_t compression = get32(f, BMP_COMPRESSION_AT), colours = get32(f, BMP_COLOURS_AT);
    int64_t  w = (int32_t)get32(f, BMP_WIDTH_AT), h = (int32_t)get32(f, BMP_HEIGHT_AT);
    int      bits = bmp_bits(f);
    bool     top_down = h < 0;
    h = top_down ? -h : h;
    if (header < BMP_INFO_SIZE || header > f.size() - BMP_INFO_AT) {
        *why = "header of " + std::to_string(header) + " bytes is not one a BMP has";
        return false;
    }
    if (compression != 0) {
        *why = "compressed (compression " + std::to_string(compression) + "): save it uncompressed";
        return false;
    }
    if (w <= 0 || h <= 0 || (uint64_t)(w * h) > max_level_pixels) {
        *why = "size " + size_text(w, h) + " is not usable";
        return false;
    }
    uint32_t palette_max = 1u << bits;
    if (colours == 0)
        colours = palette_max;
    size_t palette_at = BMP_INFO_AT + (size_t)header;
    if (colours > palette_max || palette_at + (size_t)colours * 4 > f.size()) {
        *why = "palette of " + std::to_string(colours) + " colours does not fit the file";
        return false;
    }
    // pixels start after the palette; an offset inside the headers reads them as pixels
    if ((uint64_t)offset < palette_at + (uint64_t)colours * 4) {
        *why = "pixel data offset " + std::to_string(offset) + " lies inside the headers and palette, which end at " +
               std::to_string(palette_at + (size_t)colours * 4);
        return false;
    }
    uint64_t line = bmp_row_bytes((uint64_t)w, bits);
    if ((uint64_t)offset + line * h > f.size()) {
        *why = "file ends before its pixels do";
        return false;
    }
    grid->width = (int)w;
    grid->height = (int)h;
    grid->bgr.assign((size_t)(w * h) * 3, 0);
    for (int64_t stored = 0; stored < h; stored++) {
        int64_t        row = top_down ? h - 1 - stored : stored;
        const uint8_t* pixels = &f[offset + stored * line];
        for (int64_t x = 0; x < w; x++) {
            uint64_t bit = (uint64_t)x * bits;
            uint32_t index = (pixels[bit / 8] >> (8 - bits - bit % 8)) & (palette_max - 1);
            if (index >= colours) {
                *why = "column " + std::to_string(x) + ", row " + std::to_string(row) + ": colour " +
                       std::to_string(index) + " is not in the palette of " + std::to_string(colours);
                return false;
            }
            memcpy(&grid->bgr[(size_t)(row * w + x) * 3], &f[palette_at + (size_t)index * 4], 3);
        }
    }
    return true;
}
