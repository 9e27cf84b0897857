// quovix-level: the check lists every problem of a level picture by file, and
// the preview draws a level as a paint program shows it.
#include <gtest/gtest.h>
#include <png.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "app/headless.h"
#include "app/recorder.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "platform/temporary.h"
#include "playfolder.h"
#include "support.h"

struct tool_run_t {
    int         status;
    std::string output;
};

static tool_run_t run_tool(const std::string& args, const char* tool = "quovix-level") {
    tool_run_t r = {-1, ""};
    // quoted, so cmd takes a path with forward slashes for the program's name
    std::string program = "\"" + std::string(QUOVIX_TOOLS_DIR) + "/" + tool + "\"";
    if (FILE* p = popen((program + " " + args + " 2>&1").c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof(buf), p))
            r.output += buf;
        r.status = pclose(p);
    }
    return r;
}

static level_grid_t grid_of(const std::string& text) {
    level_grid_t g;
    std::string  why;
    EXPECT_TRUE(level_from_text(text, &g, &why)) << why;
    return g;
}

static void set_bgr(level_grid_t* g, int column, int row, uint8_t b, uint8_t gr, uint8_t r) {
    uint8_t* p = &g->bgr[((size_t)row * g->width + column) * 3];
    p[0] = b, p[1] = gr, p[2] = r;
}

TEST(LevelCheck, NamesTheFileAndEachProblemOnALineOfItsOwn) {
    level_grid_t smoothed = grid_of(plain_level());
    set_bgr(&smoothed, 3, 17, 0xFE, 0x00, 0x00);   // a smoothed floor edge
    level_grid_t many = grid_of(plain_level({{0, "...###."}}, false));
    set_bgr(&many, 1, 5, 10, 20, 30);
    set_bgr(&many, 5, 200, 10, 20, 30);
    std::vector<uint8_t> deep = level_bmp(plain_level()), packed = deep;
    deep[28] = 32;
    packed[30] = 1;
    std::string shorter, longer, huge;
    for (int r = 0; r < 200; r++)
        shorter += r < 10 ? ".FFFFF.\n" : ".#####.\n";
    // at 600 rows the spawn point lies in column 7, off a road 7 wide
    for (int r = 0; r < 600; r++)
        longer += r < 10 ? ".FFFFF.\n" : ".#####.\n";
    for (int r = 0; r < 4000; r++)
        huge += r < 10 ? "..FFFFF..\n" : "..#####..\n";
    std::string text = "; a note\n" + plain_level(), broken = plain_level({{3, ".##x##."}});
    struct {
        const char*              name;
        std::vector<uint8_t>     bytes;
        std::vector<const char*> says;    // the first ": ok" for a good level
        int                      lines;   // naming the file; -1 not counted
    } cases[] = {
        {"good.bmp", level_bmp(plain_level()), {": ok"}, 1},
        {"smoothed.bmp", level_to_bmp(smoothed), {": column 3, row 17", "0,0,254"}, 1},
        {"many.bmp", level_to_bmp(many), {"finish", "spawn"}, 4},   // two colours, no finish, spawn on a gap
        {"short.bmp", level_bmp(shorter), {": ok"}, 1},
        {"long.bmp", level_bmp(longer), {"7x600: at 600 rows the ship starts in column 7, off its 7 columns"}, 1},
        {"huge.txt", std::vector<uint8_t>(huge.begin(), huge.end()), {"9x4000, more than the 32768 tiles"}, 1},
        {"deep.bmp", deep, {"32 bits"}, 1},
        {"packed.bmp", packed, {}, -1},
        {"game.level.txt", std::vector<uint8_t>(text.begin(), text.end()), {": ok"}, 1},
        {"broken.txt", std::vector<uint8_t>(broken.begin(), broken.end()), {}, -1},
    };
    std::string dir = temp_folder() + "/";
    for (const auto& c : cases) {
        write_binary_file(dir + c.name, c.bytes);
        tool_run_t r = run_tool("check " + dir + c.name);
        bool       ok = !c.says.empty() && strcmp(c.says[0], ": ok") == 0;
        EXPECT_EQ(r.status == 0, ok) << c.name << "\n" << r.output;
        for (const char* s : c.says)
            EXPECT_NE(r.output.find(s[0] == ':' ? dir + c.name + s : s), std::string::npos) << r.output;
        int lines = 0;
        for (size_t at = 0; (at = r.output.find(dir + c.name + ": ", at)) != std::string::npos; at++)
            lines++;
        EXPECT_TRUE(c.lines < 0 || lines == c.lines) << r.output;
    }
    // one bad or unreadable file among good ones fails the run; each is named
    write_binary_file(dir + "bad.bmp", level_bmp(plain_level({}, false)));
    tool_run_t r = run_tool("check " + dir + "good.bmp " + dir + "bad.bmp " + dir + "missing/levelone.bmp");
    EXPECT_NE(r.status, 0);
    for (std::string s : {dir + "good.bmp: ok", dir + "bad.bmp: no finish", dir + "missing/levelone.bmp: "})
        EXPECT_NE(r.output.find(s), std::string::npos) << r.output;
    // the bad one first: the run fails for it, not for the last file it checks
    EXPECT_EQ(WEXITSTATUS(run_tool("check " + dir + "bad.bmp " + dir + "good.bmp").status), 1);
}

static bool read_png(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgb) {
    png_image im;
    memset(&im, 0, sizeof(im));
    im.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&im, path.c_str()))
        return false;
    im.format = PNG_FORMAT_RGB;
    *width = (int)im.width;
    *height = (int)im.height;
    rgb->resize(PNG_IMAGE_SIZE(im));
    return png_image_finish_read(&im, nullptr, rgb->data(), 0, nullptr) != 0;
}

TEST(LevelPreview, DrawsTheFarEndAtTheTopEachTileASquare) {
    std::string dir = temp_folder();
    // a wall tile near the start at column 4 and a heart at the far end in column 1
    std::string level = plain_level({{1, ".###W#."}, {239, ".H###F."}});
    write_text_file(dir + "/game.level.txt", level);
    write_binary_file(dir + "/game.level.bmp", level_bmp(level));
    // column and row from the top of the picture, and the colour of that tile (a gap dark grey)
    struct {
        int     col, row;
        uint8_t r, g, b;
    } tiles[] = {{1, 0, 255, 0, 0}, {5, 0, 0, 255, 0}, {4, 238, 0, 0, 128}, {2, 239, 0, 0, 255}, {0, 120, 24, 24, 24}};
    for (int s : {1, 3}) {
        std::string in = dir + (s == 1 ? "/game.level.txt" : "/game.level.bmp"), out = dir + "/game.level.png";
        ASSERT_EQ(run_tool("preview " + in + " " + out + " " + std::to_string(s)).status, 0);
        int                  w = 0, h = 0;
        std::vector<uint8_t> rgb;
        ASSERT_TRUE(read_png(out, &w, &h, &rgb));
        ASSERT_EQ(std::vector<int>({w, h}), std::vector<int>({7 * s, 240 * s}));
        for (const auto& t : tiles)
            for (int corner : {0, s - 1}) {
                const uint8_t* p = &rgb[((size_t)(t.row * s + corner) * w + t.col * s + corner) * 3];
                EXPECT_EQ(std::vector<int>({p[0], p[1], p[2]}), std::vector<int>({t.r, t.g, t.b}))
                    << "scale " << s << " tile " << t.col << "," << t.row;
            }
    }
    EXPECT_NE(run_tool("preview /nonexistent.bmp " + dir + "/none.png").status, 0);
}

// The level as a paint program saves it, the far end at the top: 8-bit RGB or
// RGBA, 16 bits a channel, or colours in a palette.
static bool write_level_png(const std::string& path, const level_grid_t& g, png_uint_32 format) {
    png_image im;
    memset(&im, 0, sizeof(im));
    im.version = PNG_IMAGE_VERSION;
    im.width = (png_uint_32)g.width;
    im.height = (png_uint_32)g.height;
    im.format = format;
    bool                  palette = format & PNG_FORMAT_FLAG_COLORMAP, wide = format & PNG_FORMAT_FLAG_LINEAR;
    int                   channels = palette ? 1 : PNG_IMAGE_SAMPLE_CHANNELS(format);
    std::vector<uint8_t>  colours, pixels;   // palette: RGB entries, one index a pixel
    std::vector<uint16_t> wide_pixels;
    for (int y = 0; y < g.height; y++) {
        for (int x = 0; x < g.width; x++) {
            const uint8_t* t = &g.bgr[((size_t)(g.height - 1 - y) * g.width + x) * 3];
            uint8_t        rgba[4] = {t[2], t[1], t[0], 255};
            if (palette) {
                size_t i = 0;
                while (i < colours.size() && memcmp(&colours[i], rgba, 3) != 0)
                    i += 3;
                if (i == colours.size())
                    colours.insert(colours.end(), rgba, rgba + 3);
                pixels.push_back((uint8_t)(i / 3));
            }
            for (int c = 0; !palette && c < channels; c++) {
                pixels.push_back(rgba[c]);
                wide_pixels.push_back((uint16_t)(rgba[c] * 257));
            }
        }
    }
    im.colormap_entries = (png_uint_32)(colours.size() / 3);
    const void* buffer = wide ? (const void*)wide_pixels.data() : (const void*)pixels.data();
    return png_image_write_to_file(&im, path.c_str(), 0, buffer, 0, palette ? colours.data() : nullptr) != 0;
}

// A BMP with a palette of 4 or 8 bits a pixel, as some paint programs save few colours.
static std::vector<uint8_t> palette_bmp(const level_grid_t& g, int bits, bool top_down) {
    std::vector<uint8_t> colours;   // BGR0 entries
    std::vector<int>     index;
    for (size_t t = 0; t < g.bgr.size(); t += 3) {
        size_t i = 0;
        while (i < colours.size() && memcmp(&colours[i], &g.bgr[t], 3) != 0)
            i += 4;
        if (i == colours.size())
            colours.insert(colours.end(), {g.bgr[t], g.bgr[t + 1], g.bgr[t + 2], 0});
        index.push_back((int)(i / 4));
    }
    size_t               line = ((size_t)g.width * bits + 31) / 32 * 4, offset = 54 + colours.size();
    std::vector<uint8_t> b(offset + line * g.height, 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 2, (int32_t)b.size());
    put32(b, 10, (int32_t)offset);
    put32(b, 14, 40);
    put32(b, 18, g.width);
    put32(b, 22, top_down ? -g.height : g.height);
    b[26] = 1, b[28] = (uint8_t)bits;
    put32(b, 46, (int32_t)(colours.size() / 4));
    std::copy(colours.begin(), colours.end(), b.begin() + 54);
    for (int row = 0; row < g.height; row++) {
        size_t stored = offset + (top_down ? g.height - 1 - row : row) * line;
        for (int x = 0; x < g.width; x++) {
            int bit = x * bits, i = index[(size_t)row * g.width + x];
            b[stored + bit / 8] |= (uint8_t)(i << (8 - bits - bit % 8));
        }
    }
    return b;
}

TEST(LevelPictures, EveryWayAPaintProgramSavesALevelMakesTheSameBmpAsItsText) {
    std::string dir = temp_folder() + "/";
    std::string text = plain_level({{0, ".H#*W#."}, {1, "..###.."}, {2, "W#####W"}, {239, ".F.F.F."}});
    write_text_file(dir + "level.txt", text);
    ASSERT_EQ(run_tool("bmp " + dir + "level.txt " + dir + "from-text.bmp").status, 0);
    std::string from_text = read_text_file(dir + "from-text.bmp");
    ASSERT_EQ(from_text.size(), 54u + 24 * 240);   // rows of 21 bytes padded to 24
    level_grid_t g = grid_of(text);
    struct {
        const char* name;
        png_uint_32 png_format;   // 0: a BMP
        int         bmp_bits;
        bool        top_down;
        bool        junk_at_end = false;   // bytes after the PNG's last chunk, as some programs leave
    } pictures[] = {
        {"rgb.png", PNG_FORMAT_RGB, 0, false},
        {"rgba.png", PNG_FORMAT_RGBA, 0, false},
        {"junk-at-end.png", PNG_FORMAT_RGB, 0, false, true},
        {"wide.png", PNG_FORMAT_LINEAR_RGB, 0, false},
        {"palette.png", PNG_FORMAT_RGB_COLORMAP, 0, false},
        {"palette8.bmp", 0, 8, false},
        {"palette4-top-down.bmp", 0, 4, true},
    };
    for (const auto& p : pictures) {
        std::string in = dir + p.name, out = dir + p.name + ".bmp";
        if (p.png_format) {
            ASSERT_TRUE(write_level_png(in, g, p.png_format)) << p.name;
        }
        if (p.junk_at_end)
            write_text_file(in, read_text_file(in) + std::string(100, 'x'));
        if (!p.png_format)
            write_binary_file(in, palette_bmp(g, p.bmp_bits, p.top_down));
        tool_run_t r = run_tool("bmp " + in + " " + out);
        ASSERT_EQ(r.status, 0) << p.name << "\n" << r.output;
        EXPECT_TRUE(read_text_file(out) == from_text) << p.name;
        // a PNG is a source, as text is; a palette BMP is named with the command that converts it
        r = run_tool("check " + in);
        if (p.png_format) {
            EXPECT_EQ(r.status, 0) << r.output;
            EXPECT_EQ(r.output, in + ": ok\n");
        } else {
            EXPECT_NE(r.status, 0);
            EXPECT_EQ(r.output, in +
                                    ": the game cannot read pictures with a palette; convert it with: "
                                    "quovix-level bmp " +
                                    in + " OUT.bmp\n");
        }
    }
}

TEST(LevelPictures, SeeThroughPixelsAndBrokenFilesAreNamedByCheck) {
    std::string          dir = temp_folder() + "/";
    level_grid_t         g = grid_of(plain_level());
    std::vector<uint8_t> rgba;
    for (int y = 0; y < g.height; y++)
        for (int x = 0; x < g.width; x++) {
            const uint8_t* t = &g.bgr[((size_t)(g.height - 1 - y) * g.width + x) * 3];
            rgba.insert(rgba.end(), {t[2], t[1], t[0], 255});
        }
    auto pixel = [&](int column, int row) { return &rgba[((size_t)(g.height - 1 - row) * g.width + column) * 4]; };
    pixel(2, 0)[3] = 0;                        // the spawn tile erased: a gap
    pixel(1, 7)[0] = 3;                        // a stray colour
    pixel(4, 30)[3] = pixel(5, 31)[3] = 128;   // a smoothed edge: half see-through blue
    png_image im;
    memset(&im, 0, sizeof(im));
    im.version = PNG_IMAGE_VERSION;
    im.width = 7, im.height = 240, im.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&im, (dir + "smoothed.png").c_str(), 0, rgba.data(), 0, nullptr));
    std::string png = read_text_file(dir + "smoothed.png");
    write_text_file(dir + "short.png", png.substr(0, png.size() / 2));
    std::vector<uint8_t> bad_palette = palette_bmp(g, 8, false);
    bad_palette[54 + 4 * 2 + 3 * 4 + 1] = 200;   // one pixel beyond the three colours of the palette
    pixel(4, 30)[3] = pixel(5, 31)[3] = 255;
    ASSERT_TRUE(png_image_write_to_file(&im, (dir + "holes.png").c_str(), 0, rgba.data(), 0, nullptr));
    struct {
        const char*              name;
        std::vector<const char*> says;
    } cases[] = {
        {"holes.png", {"column 1, row 7", "colour 3,0,255 is no tile colour", "spawn tile (column 2, row 0) is a gap"}},
        {"smoothed.png", {"column 5, row 31 (line 209 from the top) is partly see-through (alpha 128), and 1 more"}},
        {"short.png", {"not a readable PNG"}},
        {"bad-palette.bmp", {"colour 200 is not in the palette of 3"}},
        {"past-palette.png", {"column 1, row 239 (line 1 from the top): colour 3 is not in the palette of 3"}},
        {"offset-zero.bmp", {"pixel data offset 0 lies inside the headers and palette, which end at 66"}},
        {"claims.png", {"a chunk tEXt claims 2147483647 bytes, past the end of the file"}},
        {"levelone.bmp", {"the game cannot read it: not a BMP picture; the game stops at level 1", "convert it with"}},
    };
    write_binary_file(dir + "bad-palette.bmp", bad_palette);
    std::vector<uint8_t> offset_zero = palette_bmp(g, 8, false);
    put32(offset_zero, 10, 0);
    write_binary_file(dir + "offset-zero.bmp", offset_zero);
    // a palette PNG whose finish tiles point past its three colours
    std::vector<uint8_t> indexes;
    uint8_t              colours[9] = {0, 0, 0, 255, 0, 0, 0, 255, 0};   // gap, floor, finish
    for (size_t at = 0; at < rgba.size(); at += 4)
        indexes.push_back(rgba[at] == 255 ? 1 : rgba[at + 1] == 255 ? 3 : 0);
    png_image pal = im;
    pal.format = PNG_FORMAT_RGB_COLORMAP, pal.colormap_entries = 3;
    ASSERT_TRUE(png_image_write_to_file(&pal, (dir + "past-palette.png").c_str(), 0, indexes.data(), 0, colours));
    // a text chunk claiming 2 GiB in a file of a few bytes
    std::string claims = png.substr(0, 33) + std::string("\x7f\xff\xff\xfftEXt", 8) + std::string(100, 'x');
    write_text_file(dir + "claims.png", claims);
    write_text_file(dir + "levelone.bmp", read_text_file(dir + "holes.png"));   // saved under a played name
    for (const auto& c : cases) {
        tool_run_t r = run_tool("check " + dir + c.name);
        EXPECT_NE(r.status, 0) << c.name;
        EXPECT_EQ(r.output.find(dir + c.name + ": "), 0u) << r.output;
        for (const char* s : c.says)
            EXPECT_NE(r.output.find(s), std::string::npos) << c.name << "\n" << r.output;
        // nothing is written from a level check refuses, and bmp says why in the same lines
        tool_run_t b = run_tool("bmp " + dir + c.name + " " + dir + "out.bmp");
        EXPECT_EQ(WEXITSTATUS(b.status), 1) << c.name;
        EXPECT_FALSE(file_exists(dir + "out.bmp"));
        if (std::string(c.name) != "levelone.bmp") {   // converting mends what only the game cannot read
            EXPECT_EQ(b.output, r.output) << c.name;
        }
    }
    // forced, a level that can be read is written, and saying so; one that cannot never is
    tool_run_t forced = run_tool("bmp --force " + dir + "holes.png " + dir + "forced.bmp");
    EXPECT_EQ(forced.status, 0) << forced.output;
    EXPECT_NE(forced.output.find("holes.png: written anyway as forced"), std::string::npos) << forced.output;
    EXPECT_NE(run_tool("check " + dir + "forced.bmp").output.find("colour 3,0,255 is no tile colour"),
              std::string::npos);
    EXPECT_EQ(WEXITSTATUS(run_tool("bmp --force " + dir + "short.png " + dir + "out.bmp").status), 1);
    EXPECT_FALSE(file_exists(dir + "out.bmp"));
}

#ifndef _WIN32
// Runs a tool as run_tool does, once place has been given the pid it will run as.
static int run_tool_as(const std::string& args, const std::function<void(pid_t)>& place) {
    int go[2];
    if (pipe(go) != 0)
        return -1;
    pid_t child = fork();
    if (child == 0) {
        char c;
        close(go[1]);
        if (read(go[0], &c, 1) != 1)
            _exit(127);
        std::string command = "exec \"" + std::string(QUOVIX_TOOLS_DIR) + "/quovix-level\" " + args;
        execl("/bin/sh", "sh", "-c", command.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(go[0]);
    place(child);
    EXPECT_EQ(write(go[1], "g", 1), 1);
    close(go[1]);
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// The file that stands where the level is written, or where its temporary will
// be, is another file's name (an installed level's): that file is never written.
TEST(LevelPictures, ALevelLinkedToAnInstalledFileIsReplacedNotWrittenThrough) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets only an administrator make a symbolic link, and installs no game through links";
#else
    struct {
        const char* what;
        bool at_temporary;   // a hard link at each of the writer's first names; else a symbolic link at the output
    } cases[] = {{"a symbolic link at the output", false}, {"hard links at the temporary's names", true}};
    for (const auto& c : cases) {
        std::string dir = temp_folder() + "/", out = dir + "levelone.bmp";
        write_text_file(dir + "level.txt", plain_level({{5, ".#*###."}}));
        std::vector<uint8_t> installed = level_bmp(plain_level());
        write_binary_file(dir + "installed.bmp", installed);
        chmod((dir + "installed.bmp").c_str(), 0444);
        int links = 0;
        int status = run_tool_as("bmp " + dir + "level.txt " + out, [&](pid_t tool) {
            if (!c.at_temporary) {
                ASSERT_EQ(symlink((dir + "installed.bmp").c_str(), out.c_str()), 0);
                return;
            }
            for (unsigned attempt = 1; attempt <= 3; attempt++, links++)
                ASSERT_EQ(link((dir + "installed.bmp").c_str(), temporary_name(out, (unsigned)tool, attempt).c_str()),
                          0);
        });
        ASSERT_EQ(status, 0) << c.what;
        std::string s = read_text_file(dir + "installed.bmp");
        EXPECT_TRUE(std::vector<uint8_t>(s.begin(), s.end()) == installed) << c.what;
        struct stat st;
        ASSERT_EQ(lstat(out.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode) && st.st_nlink == 1) << c.what;
        s = read_text_file(out);
        EXPECT_TRUE(std::vector<uint8_t>(s.begin(), s.end()) == level_bmp(plain_level({{5, ".#*###."}}))) << c.what;
        // no temporary of its own is left beside it: the source, the installed file, the new one and the links
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
                  3 + links)
            << c.what;
    }
#endif
}

// What is no regular file, or too large to hold, ends a tool with one line naming
// The system's own words for a name longer than its folders take.
#ifdef _WIN32
static const char NAME_TOO_LONG[] = "File name is too long";
#else
static const char NAME_TOO_LONG[] = "File name too long";
#endif

// it and status 1: never a wait, never an abort.
TEST(LevelTools, UnusableInputEndsWithOneLineAndStatusOne) {
    std::string dir = temp_folder();
    std::string folder = dir + "/folder.bmp", text_folder = dir + "/folder.txt", fifo = dir + "/fifo.bmp";
    std::string device = dir + "/device";   // a device node of the test's own, never the machine's
#ifdef _WIN32
    ASSERT_TRUE(std::filesystem::create_directory(folder) && std::filesystem::create_directory(text_folder));
    bool have_device = false;
#else
    ASSERT_EQ(mkdir(folder.c_str(), 0700) | mkdir(text_folder.c_str(), 0700) | mkfifo(fifo.c_str(), 0600), 0);
    bool have_device = make_device_node(device);
#endif
    // a text level of 4 million tiles: a preview at scale 64 would be 16 billion pixels
    std::string huge(2000, '#');
    std::string huge_text;
    for (int r = 0; r < 2000; r++)
        huge_text += huge + "\n";
    write_text_file(dir + "/huge.txt", huge_text);
    write_text_file(dir + "/good.txt", plain_level());
    write_text_file(dir + "/one.replay", "10 -\n");
    ASSERT_TRUE(write_level_png(dir + "/level.png", grid_of(plain_level()), PNG_FORMAT_RGB));
    write_binary_file(dir + "/palette.bmp", palette_bmp(grid_of(plain_level()), 8, false));
    struct {
        const char* tool;
        std::string args, names, says;
    } cases[] = {
        {"quovix-level", "check " + folder, folder, "not a regular file"},
        {"quovix-level", "check " + text_folder, text_folder, "not a regular file"},
        {"quovix-level", "check " + fifo, fifo, "not a regular file"},
        {"quovix-level", "check " + device, device, "not a regular file"},
        {"quovix-level", "text " + folder + " " + dir + "/out.txt", folder, "not a regular file"},
        {"quovix-level", "bmp " + text_folder + " " + dir + "/out.bmp", text_folder, "not a regular file"},
        {"quovix-level", "preview " + dir + "/huge.txt " + dir + "/huge.png 64", dir + "/huge.txt",
         "more than the 16777216"},
        {"quovix-level", "preview " + folder + " " + dir + "/out.png", folder, "not a regular file"},
        // an output that is no regular file is never replaced
        {"quovix-level", "bmp " + dir + "/good.txt " + fifo, fifo, "not a regular file"},
        {"quovix-level", "text " + dir + "/good.txt " + device, device, "not a regular file"},
        {"quovix-level", "text " + dir + "/good.txt " + dir + "/" + std::string(300, 'n'),
         dir + "/" + std::string(300, 'n'), std::string("cannot write the file: ") + NAME_TOO_LONG},
        {"quovix-level", "preview " + dir + "/good.txt " + folder, folder, "not a regular file"},
        {"quovix-solve", folder + " " + dir + "/out.replay", folder, "not a regular file"},
        {"quovix-solve", "--play " + fifo + " " + dir + "/one.replay", fifo, "not a regular file"},
        {"quovix-solve", "--play " + dir + "/good.txt " + folder, folder, "not a regular file"},
        {"quovix-solve", "--play " + dir + "/good.txt " + device, device, "not a regular file"},
        // what only the level tool reads is named with the command that converts it
        {"quovix-solve", "--play " + dir + "/level.png " + dir + "/one.replay", dir + "/level.png",
         "not a BMP picture; convert it first with: quovix-level bmp " + dir + "/level.png OUT.bmp"},
        {"quovix-solve", dir + "/palette.bmp " + dir + "/out.replay", dir + "/palette.bmp",
         "8 bits per pixel, not 24; convert it first with"},
    };
    for (const auto& c : cases) {
#ifdef _WIN32
        // Windows has no FIFOs: those rows are for POSIX systems
        if (c.args.find(fifo) != std::string::npos)
            continue;
#endif
        // where the system refuses to make a device node, the device rows are left out
        if (!have_device && c.args.find(device) != std::string::npos)
            continue;
        tool_run_t r = run_tool(c.args, c.tool);
        ASSERT_TRUE(WIFEXITED(r.status)) << c.args << "\n" << r.output;
        EXPECT_EQ(WEXITSTATUS(r.status), 1) << c.args << "\n" << r.output;
        EXPECT_EQ(lines_of(r.output).size(), 1u) << c.args << "\n" << r.output;
        EXPECT_EQ(r.output.rfind(c.names + ": ", 0), 0u) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.args << "\n" << r.output;
    }
#ifndef _WIN32
    struct stat st;
    EXPECT_TRUE(stat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(!have_device || (stat(device.c_str(), &st) == 0 && S_ISCHR(st.st_mode)));
#endif
}

// A picture whose image-size field claims more than its rows (the bytes there)
// is read by the tools as by the game: the same tiles, and a replay runs the same.
TEST(LevelTools, ImageSizePastTheRowsReadsTheSameTiles) {
    std::string          dir = temp_folder();
    std::string          level = read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.txt");
    std::string          replay = std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.replay";
    std::vector<uint8_t> plain = level_bmp(level);
    write_binary_file(dir + "/plain.bmp", plain);
    tool_run_t text = run_tool("text " + dir + "/plain.bmp " + dir + "/plain.txt");
    ASSERT_EQ(text.status, 0) << text.output;
    tool_run_t played = run_tool("--play " + dir + "/plain.bmp " + replay, "quovix-solve");
    ASSERT_EQ(played.status, 0) << played.output;
    for (int extra : {2, 240}) {
        std::vector<uint8_t> bytes = plain;
        bytes.resize(bytes.size() + extra, 0x7F);
        put32(bytes, 34, (int32_t)(plain.size() - 54) + extra);
        std::string name = dir + "/extra" + std::to_string(extra);
        write_binary_file(name + ".bmp", bytes);
        EXPECT_EQ(run_tool("check " + name + ".bmp").output, name + ".bmp: ok\n");
        ASSERT_EQ(run_tool("text " + name + ".bmp " + name + ".txt").status, 0);
        EXPECT_EQ(read_text_file(name + ".txt"), read_text_file(dir + "/plain.txt")) << extra;
        tool_run_t again = run_tool("--play " + name + ".bmp " + replay, "quovix-solve");
        EXPECT_EQ(again.status, 0) << again.output;
        EXPECT_EQ(again.output, played.output) << extra;
    }
}

// Played back with --events, a replay lists what happened on the frames the outcome counts.
TEST(LevelTools, SolverPlaysAReplayBackWithItsEventsFrameByFrame) {
    std::string dir = temp_folder(), level = dir + "/level.txt", replay = dir + "/level.replay";
    write_text_file(level, plain_level({{4, ".#*###."}, {14, ".#H###."}, {20, ".FFFFF."}}));
    write_text_file(replay, "20 -\n1 space\n200 -\n");
    tool_run_t played = run_tool("--play " + level + " " + replay + " --events", "quovix-solve");
    EXPECT_EQ(played.status, 0);
    EXPECT_EQ(played.output, "frame 19: star\n"
                             "frame 21: jump\n"
                             "frame 55: land\n"
                             "frame 71: heart\n"
                             "frame 102: level finished\n" +
                                 replay + ": finished in frame 102 with 1 stars, 0 lives lost\n");
    // a replay that reaches the finish only after losing a life is no way through the level
    std::string gap = dir + "/gap.txt", again = dir + "/again.replay";
    write_text_file(gap, plain_level(rows_of(40, 41, ".......")));
    write_text_file(again, "321 -\n195 -\n1 space\n1300 -\n");   // into the gap, then over it
    tool_run_t lost = run_tool("--play " + gap + " " + again, "quovix-solve");
    EXPECT_EQ(WEXITSTATUS(lost.status), 1) << lost.output;
    EXPECT_EQ(lost.output, again + ": finished in frame 1507 with 0 stars, 1 lives lost\n");
}

// A game recorded by the runner, played again by the solver in the folder it was played in.
TEST(LevelTools, SolverPlaysAGameRecordingAndComparesItsRecords) {
    std::string bin = make_play_folder({plain_level({{20, ".FFFFF."}})});
    ASSERT_TRUE(sim_open(bin.c_str()) && sim_start_play());
    for (int frame = 0; frame < 20000 && !recorder_game_ended(); frame++)
        sim_frame(0);
    sim_close();
    std::string text = recording_to_text(recorder_last()), path = temp_folder() + "/game.recording";
    std::string points = "points " + std::to_string(recorder_last().points);
    write_text_file(path, text);
    tool_run_t played = run_tool("--play-game " + bin + " " + path, "quovix-solve");
    EXPECT_EQ(played.status, 0);
    EXPECT_EQ(played.output, path + ": won in frame " + std::to_string(recorder_last().frames.size()) +
                                 " with 0 stars and " + std::to_string(recorder_last().points) +
                                 " points; the records match the recorded ones\n");
    EXPECT_EQ(run_tool("--play " + bin + " " + path, "quovix-solve").output, played.output) << "--play reads it too";
    write_text_file(path, text.replace(text.find(points), points.size(), "points 7"));
    tool_run_t differs = run_tool("--play-game " + bin + " " + path, "quovix-solve");
    EXPECT_EQ(WEXITSTATUS(differs.status), 1);
    EXPECT_NE(differs.output.find("the records differ from the recorded ones"), std::string::npos) << differs.output;
}

// Help is asked for and answered; a call the solver does not know shows the same lines and fails.
TEST(LevelTools, SolverListsItsOptionsOnHelpAndOnACallItDoesNotKnow) {
    struct {
        const char* args;
        int         status;
    } cases[] = {{"--help", 0},
                 {"-h", 0},
                 {"", 2},
                 {"level.txt out.replay --fast", 2},
                 {"--help more", 2},
                 {"--beam 9 level.txt out.replay", 2},
                 {"--play level.txt", 2},
                 {"--play level.txt level.replay --event", 2},
                 {"--play-game bin", 2}};
    for (const auto& c : cases) {
        tool_run_t r = run_tool(c.args, "quovix-solve");
        EXPECT_EQ(WEXITSTATUS(r.status), c.status) << c.args;
        EXPECT_EQ(r.output.rfind("usage: quovix-solve", 0), 0u) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find("--beam N     ships kept each frame (2500)"), std::string::npos) << r.output;
    }
    // a count that is no whole number from 1 is refused before any search
    for (std::string count :
         {"--beam 0", "--beam -3", "--beam 12x", "--beam 99999999999", "--frames 0", "--frames ten"}) {
        tool_run_t r = run_tool("level.txt out.replay " + count, "quovix-solve");
        EXPECT_EQ(WEXITSTATUS(r.status), 2) << count;
        std::string option = count.substr(0, count.find(' ')), given = count.substr(count.find(' ') + 1);
        EXPECT_EQ(r.output, "quovix-solve: " + option + " takes a whole number from 1, not \"" + given + "\"\n")
            << count;
    }
}

// Names in any language, with spaces, reach the file system as typed: the files
// read and written, and the solver's play folder made and removed in a temporary
// folder whose name has letters outside any one language.
TEST(LevelTools, NamesOfAnyLanguageReachTheFileSystemAsTyped) {
    namespace fs = std::filesystem;
    std::string dir = temp_folder(), temp = dir + "/T\xc3\xa9mp \xce\xa9";   // "Témp Ω"
    ASSERT_TRUE(fs::create_directory(fs::u8path(temp)));
    ASSERT_TRUE(write_level_png(dir + "/niveau \xce\xa9.png", grid_of(plain_level()), PNG_FORMAT_RGB));
    write_text_file(dir + "/one.replay", "10 -\n");
    struct {
        const char* tool;
        std::string args;
        const char* written;   // the file it makes in dir; nullptr: none
    } cases[] = {
        {"quovix-level", "bmp \"" + dir + "/niveau \xce\xa9.png\" \"" + dir + "/sortie \xce\xa9.bmp\"",
         "sortie \xce\xa9.bmp"},
        {"quovix-level", "check \"" + dir + "/sortie \xce\xa9.bmp\"", nullptr},
        {"quovix-solve", "--play \"" + dir + "/sortie \xce\xa9.bmp\" \"" + dir + "/one.replay\"", nullptr},
    };
    // the solver plays in a folder it makes in the system's folder for temporary files
    const char* temp_settings[] = {"TMPDIR", "TMP", "TEMP"};
    for (const char* setting : temp_settings)
        setenv(setting, temp.c_str(), 1);
    for (const auto& c : cases) {
        tool_run_t r = run_tool(c.args, c.tool);
        EXPECT_EQ(WEXITSTATUS(r.status), c.tool == std::string("quovix-solve") ? 1 : 0) << c.args << "\n" << r.output;
        EXPECT_EQ(r.output.find("cannot"), std::string::npos) << c.args << "\n" << r.output;
        if (c.written) {
            EXPECT_TRUE(fs::is_regular_file(fs::u8path(dir + "/" + c.written))) << c.args << "\n" << r.output;
        }
    }
    for (const char* setting : temp_settings)
        unsetenv(setting);
    // nothing else was made: no name mangled to another, no play folder left behind
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::u8path(dir)))
        names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, std::vector<std::string>(
                         {"T\xc3\xa9mp \xce\xa9", "niveau \xce\xa9.png", "one.replay", "sortie \xce\xa9.bmp"}));
    EXPECT_TRUE(fs::is_empty(fs::u8path(temp)));
}

// The setting the system's temporary folder is taken from, and the separator it is named with.
#ifdef _WIN32
static const char TEMP_SETTING[] = "TMP", SEPARATOR[] = "\\";
#else
static const char TEMP_SETTING[] = "TMPDIR", SEPARATOR[] = "/";
#endif

// Play folders are made in the system's temporary folder, private to the user; one that
// cannot hold them is named by the tool that needed one.
TEST(PlayFolder, IsMadeInTheSystemsTemporaryFolderWhichAFailureNames) {
    std::string dir = temp_folder(), missing = dir + SEPARATOR + "missing";
    write_text_file(dir + "/good.txt", plain_level());
    write_text_file(dir + "/one.replay", "10 -\n");
    const char* setting = getenv(TEMP_SETTING);
    std::string was = setting ? setting : "";
    setenv(TEMP_SETTING, dir.c_str(), 1);
    std::string why, made = make_temp_folder("quovix-case", &why);
    EXPECT_EQ(made.rfind(dir, 0), 0u) << made << " " << why;
    struct stat st;
    ASSERT_EQ(stat(made.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
#ifndef _WIN32
    EXPECT_EQ(st.st_mode & 0777, 0700u);
#endif
    setenv(TEMP_SETTING, missing.c_str(), 1);
    EXPECT_EQ(make_temp_folder("quovix-case", &why), "");
    EXPECT_EQ(why.rfind("cannot make a folder in " + missing, 0), 0u) << why;
    tool_run_t r = run_tool("--play " + dir + "/good.txt " + dir + "/one.replay", "quovix-solve");
    if (was.empty())
        unsetenv(TEMP_SETTING);
    else
        setenv(TEMP_SETTING, was.c_str(), 1);
    EXPECT_EQ(WEXITSTATUS(r.status), 1) << r.output;
    EXPECT_EQ(r.output.rfind(dir + "/good.txt: cannot make a folder in " + missing, 0), 0u) << r.output;
    EXPECT_EQ(lines_of(r.output).size(), 1u) << r.output;
}

// A world's folder: world DIR starts one (its folders made, nothing already there written over)
// that check DIR passes; check DIR names each file of a broken world and what keeps it from playing.
TEST(LevelCheck, AWorldIsStartedFromTheTemplateAndCheckedWhole) {
    std::string dir = temp_folder(), world = dir + "/worlds/my world";
    tool_run_t  made = run_tool("world \"" + world + "\"");
    ASSERT_EQ(made.status, 0) << made.output;
    EXPECT_NE(read_text_file(world + "/world.txt").find("title: my world\n"), std::string::npos);
    tool_run_t checked = run_tool("check \"" + world + "\"");
    EXPECT_EQ(checked.status, 0) << checked.output;
    EXPECT_EQ(checked.output, world + ": ok, a world of five 7x240 levels\n");
    std::string card = read_text_file(world + "/world.txt");
    tool_run_t  again = run_tool("world \"" + world + "\"");
    EXPECT_NE(again.status, 0);
    EXPECT_NE(again.output.find("is there already"), std::string::npos) << again.output;
    EXPECT_EQ(read_text_file(world + "/world.txt"), card);
    // a level of its own size, a PNG level three of another, a card without a maker, a level missing
    std::string wide;
    for (int r = 0; r < 100; r++)
        wide += r < 90 ? ".#######.\n" : ".FFFFFFF.\n";
    write_binary_file(world + "/levelone.bmp", level_bmp(wide));
    std::filesystem::remove(world + "/levelthree.bmp");
    ASSERT_TRUE(write_level_png(world + "/levelthree.png", grid_of(wide), PNG_FORMAT_RGB));
    write_text_file(world + "/world.txt", "title: t\n");
    std::filesystem::remove(world + "/levelfive.bmp");
    checked = run_tool("check \"" + world + "\"");
    EXPECT_NE(checked.status, 0);
    std::vector<std::string> lines = lines_of(checked.output);
    ASSERT_EQ(lines.size(), 4u) << checked.output;
    EXPECT_EQ(lines[0], world + "/world.txt: no maker (a line \"maker: ...\")");
    EXPECT_EQ(lines[1], world + "/leveltwo.bmp: is 7x240, levels are 9x100");
    EXPECT_EQ(lines[2], world + "/levelfour.bmp: is 7x240, levels are 9x100");
    EXPECT_EQ(lines[3].rfind(world + "/levelfive.bmp: the game cannot read it: cannot open the file", 0), 0u)
        << lines[3];
}
