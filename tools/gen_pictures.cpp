// quovix-gen-pictures: paints the full-screen pictures for one screen size, the
// desktop icon in one size, or the window's icon in several.
// Usage: quovix-gen-pictures <outdir> <width> <height>
//        quovix-gen-pictures --icon <out.png> <size>
//        quovix-gen-pictures --window-icon <out.argb> <size>...
// Pictures are raw BGR, bottom row first, no header, as glDrawPixels wants it.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/startup.h"
#include "platform/bytes.h"
#include "platform/platform.h"

struct canvas_t {
    cairo_surface_t* surf;
    cairo_t*         cr;
    int              w, h;
};

struct rgb_t {
    double r, g, b;
};

static const char*  FONT = "DejaVu Sans";
static const double PI = 3.14159265358979323846;

static uint32_t rng_state;

// xorshift32 so every build paints the same sky
static uint32_t next_random() {
    uint32_t x = rng_state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    rng_state = x;
    return x;
}

static double random_unit() { return (next_random() & 0xffffff) / double(0x1000000); }

static canvas_t new_canvas(int w, int h) {
    canvas_t c;
    c.w = w;
    c.h = h;
    c.surf = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    c.cr = cairo_create(c.surf);
    // fixed font rendering so the output does not follow the desktop settings
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(c.cr, fo);
    cairo_font_options_destroy(fo);
    return c;
}

static void free_canvas(canvas_t& c) {
    cairo_destroy(c.cr);
    cairo_surface_destroy(c.surf);
}

static void write_raw(canvas_t& c, const std::string& path) {
    cairo_surface_flush(c.surf);
    const unsigned char*       data = cairo_image_surface_get_data(c.surf);
    int                        stride = cairo_image_surface_get_stride(c.surf);
    std::vector<unsigned char> out((size_t)c.w * c.h * 3);
    size_t                     o = 0;
    for (int y = c.h - 1; y >= 0; y--) {
        const uint32_t* row = (const uint32_t*)(data + (size_t)y * stride);
        for (int x = 0; x < c.w; x++) {
            uint32_t p = row[x];
            out[o++] = p & 0xff;
            out[o++] = (p >> 8) & 0xff;
            out[o++] = (p >> 16) & 0xff;
        }
    }
    std::string why;
    if (!platform_write_file(path.c_str(), out.data(), out.size(), &why)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// Deep violet at the top fading to almost black at the bottom.
static void paint_sky(canvas_t& c) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, c.h);
    cairo_pattern_add_color_stop_rgb(g, 0.0, 0.10, 0.05, 0.22);
    cairo_pattern_add_color_stop_rgb(g, 0.55, 0.05, 0.04, 0.13);
    cairo_pattern_add_color_stop_rgb(g, 1.0, 0.02, 0.02, 0.05);
    cairo_set_source(c.cr, g);
    cairo_paint(c.cr);
    cairo_pattern_destroy(g);
}

static void paint_stars(canvas_t& c, uint32_t seed, double density) {
    rng_state = seed;
    double unit = c.h / 768.0;
    int    count = int(c.w * (double)c.h * density / 10000.0);
    for (int i = 0; i < count; i++) {
        double x = random_unit() * c.w, y = random_unit() * c.h;
        double b = 0.35 + 0.65 * random_unit() * random_unit();
        double r = (0.5 + 1.1 * random_unit() * random_unit() * random_unit()) * unit;
        double tint = random_unit();
        cairo_set_source_rgb(c.cr, b * (0.85 + 0.15 * tint), b * 0.9, b);
        cairo_arc(c.cr, x, y, r, 0, 2 * PI);
        cairo_fill(c.cr);
    }
}

// A dim planet low on one side with a lit rim.
static void paint_planet(canvas_t& c, double cx, double cy, double rad, rgb_t col) {
    double           x = cx * c.w, y = cy * c.h, r = rad * c.h;
    cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.4, r * 0.1, x, y, r);
    cairo_pattern_add_color_stop_rgb(g, 0.0, col.r, col.g, col.b);
    cairo_pattern_add_color_stop_rgb(g, 1.0, col.r * 0.25, col.g * 0.25, col.b * 0.3);
    cairo_set_source(c.cr, g);
    cairo_arc(c.cr, x, y, r, 0, 2 * PI);
    cairo_fill(c.cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(c.cr, r * 0.02);
    cairo_set_source_rgba(c.cr, col.r * 1.6, col.g * 1.6, col.b * 1.6, 0.5);
    cairo_arc(c.cr, x, y, r, PI * 1.05, PI * 1.6);
    cairo_stroke(c.cr);
}

static void round_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, PI / 2, PI);
    cairo_arc(cr, x + r, y + r, r, PI, 1.5 * PI);
    cairo_close_path(cr);
}

// Sets a font size no taller than 'size' and no wider than 'maxw' for text.
static void fit_font(cairo_t* cr, const char* text, double size, double maxw, bool bold) {
    cairo_select_font_face(cr, FONT, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    if (e.x_advance > maxw)
        cairo_set_font_size(cr, size * maxw / e.x_advance);
}

// Puts the text path centred on (cx, cy) using its ink box.
static void centred_text_path(cairo_t* cr, const char* text, double cx, double cy) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    cairo_text_path(cr, text);
}

// Big glowing headline with a warm gradient fill.
static void paint_title(canvas_t& c, const char* text, double cy, double size) {
    cairo_t* cr = c.cr;
    double   px = c.h * size;
    fit_font(cr, text, px, c.w * 0.85, true);
    for (int i = 4; i >= 1; i--) {
        cairo_new_path(cr);
        centred_text_path(cr, text, c.w / 2.0, cy * c.h);
        cairo_set_line_width(cr, px * 0.03 * i);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_source_rgba(cr, 0.55, 0.35, 1.0, 0.12);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    centred_text_path(cr, text, c.w / 2.0, cy * c.h);
    double           top = cy * c.h - px * 0.4, bot = cy * c.h + px * 0.4;
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, bot);
    cairo_pattern_add_color_stop_rgb(g, 0.0, 1.0, 0.95, 0.55);
    cairo_pattern_add_color_stop_rgb(g, 1.0, 1.0, 0.45, 0.10);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, px * 0.012);
    cairo_set_source_rgb(cr, 0.35, 0.12, 0.05);
    cairo_stroke(cr);
}

// One menu choice; the chosen one is a bright filled box with dark lettering.
static void paint_choice(canvas_t& c, const char* text, double cy, bool lit) {
    cairo_t* cr = c.cr;
    double   bh = c.h * 0.11, bw = std::fmin(c.w * 0.5, bh * 5.2);
    double   x = (c.w - bw) / 2, y = cy * c.h - bh / 2;
    round_rect(cr, x, y, bw, bh, bh * 0.3);
    if (lit) {
        cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + bh);
        cairo_pattern_add_color_stop_rgb(g, 0.0, 1.0, 0.88, 0.30);
        cairo_pattern_add_color_stop_rgb(g, 1.0, 1.0, 0.55, 0.08);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_source_rgb(cr, 1.0, 0.97, 0.85);
        cairo_set_line_width(cr, bh * 0.05);
        cairo_stroke(cr);
    } else {
        cairo_set_source_rgba(cr, 0.30, 0.30, 0.45, 0.35);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.35, 0.35, 0.50);
        cairo_set_line_width(cr, bh * 0.025);
        cairo_stroke(cr);
    }
    fit_font(cr, text, bh * 0.5, bw * 0.85, true);
    centred_text_path(cr, text, c.w / 2.0, cy * c.h);
    if (lit)
        cairo_set_source_rgb(cr, 0.18, 0.07, 0.02);
    else
        cairo_set_source_rgb(cr, 0.52, 0.52, 0.62);
    cairo_fill(cr);
}

static void paint_hint(canvas_t& c, const char* text, double cy) {
    cairo_t* cr = c.cr;
    fit_font(cr, text, c.h * 0.032, c.w * 0.9, false);
    centred_text_path(cr, text, c.w / 2.0, cy * c.h);
    cairo_set_source_rgb(cr, 0.70, 0.72, 0.85);
    cairo_fill(cr);
}

static void paint_background(canvas_t& c) {
    paint_sky(c);
    paint_stars(c, 0x51a7f00du, 4.0);
    rgb_t col = {0.22, 0.16, 0.36};
    paint_planet(c, 0.86, 0.22, 0.16, col);
}

static void paint_menu(canvas_t& c, bool play) {
    paint_sky(c);
    paint_stars(c, 0x2b0c91e5u, 5.0);
    rgb_t col = {0.30, 0.18, 0.42};
    paint_planet(c, 0.12, 0.88, 0.22, col);
    paint_title(c, "QUOVIX", 0.22, 0.20);
    paint_choice(c, "PLAY GAME", 0.52, play);
    paint_choice(c, "EXIT GAME", 0.68, !play);
    paint_hint(c, "W / S to choose     ENTER to confirm     ESC to leave", 0.92);
}

// The game prints its results over the plain panel in the middle.
static void paint_game_over(canvas_t& c) {
    cairo_t* cr = c.cr;
    paint_sky(c);
    paint_stars(c, 0x7e3d19c3u, 4.0);
    paint_title(c, "GAME OVER", 0.17, 0.15);
    double x = c.w * 0.30, y = c.h * 0.35, w = c.w * 0.55, h = c.h * 0.60;
    double r = c.h * 0.03;
    round_rect(cr, x, y, w, h, r);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.11);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.45, 0.30, 0.75);
    cairo_set_line_width(cr, std::fmax(2.0, c.h * 0.004));
    cairo_stroke(cr);
}

static void paint_picture(const std::string& dir, const char* name, int w, int h, int which) {
    canvas_t c = new_canvas(w, h);
    if (which == 0)
        paint_background(c);
    else if (which == 1)
        paint_game_over(c);
    else
        paint_menu(c, which == 2);
    write_raw(c, dir + "/" + name);
    free_canvas(c);
}

static cairo_status_t append_bytes(void* closure, const unsigned char* bytes, unsigned int size) {
    std::vector<unsigned char>* out = (std::vector<unsigned char>*)closure;
    out->insert(out->end(), bytes, bytes + size);
    return CAIRO_STATUS_SUCCESS;
}

// The menu's sky, stars, a planet and the title's lettering, painted at the menu's
// height and scaled down into a rounded square, so every icon size shows the same art.
static cairo_surface_t* paint_icon(int size) {
    const int art_size = 768;
    canvas_t  art = new_canvas(art_size, art_size);
    paint_sky(art);
    paint_stars(art, 0x2b0c91e5u, 5.0);
    rgb_t col = {0.30, 0.18, 0.42};
    paint_planet(art, 0.78, 0.22, 0.17, col);
    paint_title(art, "Q", 0.56, 0.80);
    cairo_surface_flush(art.surf);
    cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t*         cr = cairo_create(icon);
    round_rect(cr, 0, 0, size, size, size * 0.18);
    cairo_clip(cr);
    cairo_scale(cr, double(size) / art_size, double(size) / art_size);
    cairo_set_source_surface(cr, art.surf, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    free_canvas(art);
    cairo_surface_flush(icon);
    return icon;
}

static int write_icon(const char* path, int size) {
    cairo_surface_t* icon = paint_icon(size);
    // the PNG is made in memory and written whole, like every file
    std::vector<unsigned char> png;
    std::string                why;
    bool ok = cairo_surface_write_to_png_stream(icon, append_bytes, &png) == CAIRO_STATUS_SUCCESS &&
              platform_write_file(path, png.data(), png.size(), &why);
    cairo_surface_destroy(icon);
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", path);
    return ok ? 0 : 1;
}

static void append_le32(std::vector<uint8_t>* out, uint32_t v) {
    out->resize(out->size() + 4);
    write_le32(out->data() + out->size() - 4, v);
}

// One size of the window's icon: its size, then its pixels, their colour no longer
// multiplied by their alpha as Cairo keeps it.
static void append_window_icon(std::vector<uint8_t>* out, int size) {
    cairo_surface_t* icon = paint_icon(size);
    const uint8_t*   data = cairo_image_surface_get_data(icon);
    int              stride = cairo_image_surface_get_stride(icon);
    append_le32(out, size);
    append_le32(out, size);
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            uint32_t p = *(const uint32_t*)(data + (size_t)y * stride + x * 4);
            uint32_t a = p >> 24, rgb = 0;
            for (int shift = 0; a && shift < 24; shift += 8)
                rgb |= std::min(255u, (((p >> shift) & 255) * 255 + a / 2) / a) << shift;
            append_le32(out, a << 24 | rgb);
        }
    }
    cairo_surface_destroy(icon);
}

static int write_window_icon(const char* path, int sizes, char** size_args) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < sizes; i++) {
        int size = std::atoi(size_args[i]);
        if (size < 16 || size > 256) {
            std::fprintf(stderr, "bad window icon size %s\n", size_args[i]);
            return 1;
        }
        append_window_icon(&bytes, size);
    }
    std::string why;
    if (!platform_write_file(path, bytes.data(), bytes.size(), &why)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path, why.c_str());
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--window-icon")
        return write_window_icon(argv[2], argc - 3, argv + 3);
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        int size = std::atoi(argv[3]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "bad icon size %s\n", argv[3]);
            return 1;
        }
        return write_icon(argv[2], size);
    }
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: %s <outdir> <width> <height>\n"
                     "       %s --icon <out.png> <size>\n"
                     "       %s --window-icon <out.argb> <size>...\n",
                     argv[0], argv[0], argv[0]);
        return 1;
    }
    std::string dir = argv[1];
    int         w = std::atoi(argv[2]), h = std::atoi(argv[3]);
    if (w < 16 || h < 16 || w > 16384 || h > 16384) {
        std::fprintf(stderr, "bad size %sx%s\n", argv[2], argv[3]);
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    // in the order of the game's picture files: background, game over, play game, exit game
    for (int i = 0; i < PICTURE_COUNT; i++)
        paint_picture(dir, picture_files[i].name, w, h, i);
    return 0;
}
