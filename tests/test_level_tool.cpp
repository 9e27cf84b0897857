// quovix-level: the check lists every problem of a level picture by file, and
// the preview draws a level as a paint program shows it.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>

#include "assets/levelsource.h"
#include "support.h"

struct tool_run {
    int         status;
    std::string output;
};

static tool_run run_tool(const std::string& args, const char* tool = "quovix-level") {
    tool_run r = {-1, ""};
    if (FILE* p = popen((std::string(QUOVIX_TOOLS_DIR) + "/" + tool + " " + args + " 2>&1").c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof(buf), p))
            r.output += buf;
        r.status = pclose(p);
    }
    return r;
}

static level_grid_t grid_of(const std::string& text) {
    level_grid_t g;
    std::string why;
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
    std::string shorter;
    for (int r = 0; r < 200; r++)
        shorter += r < 10 ? ".FFFFF.\n" : ".#####.\n";
    std::string text = "; a note\n" + plain_level(), broken = plain_level({{3, ".##x##."}});
    struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<const char*> says;   // the first ": ok" for a good level
        int lines;                       // naming the file; -1 not counted
    } cases[] = {
        {"good.bmp", level_bmp(plain_level()), {": ok"}, 1},
        {"smoothed.bmp", level_to_bmp(smoothed), {": column 3, row 17", "0,0,254"}, 1},
        {"many.bmp", level_to_bmp(many), {"finish", "spawn"}, 4},   // two colours, no finish, spawn on a gap
        {"short.bmp", level_bmp(shorter), {"7x200"}, 1},
        {"deep.bmp", deep, {"32 bits"}, 1},
        {"packed.bmp", packed, {}, -1},
        {"game.level.txt", std::vector<uint8_t>(text.begin(), text.end()), {": ok"}, 1},
        {"broken.txt", std::vector<uint8_t>(broken.begin(), broken.end()), {}, -1},
    };
    std::string dir = temp_folder() + "/";
    for (const auto& c : cases) {
        write_binary_file(dir + c.name, c.bytes);
        tool_run r = run_tool("check " + dir + c.name);
        bool ok = !c.says.empty() && strcmp(c.says[0], ": ok") == 0;
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
    tool_run r = run_tool("check " + dir + "good.bmp " + dir + "bad.bmp /nonexistent/levelone.bmp");
    EXPECT_NE(r.status, 0);
    for (std::string s : {dir + "good.bmp: ok", dir + "bad.bmp: no finish", std::string("/nonexistent/levelone.bmp: ")})
        EXPECT_NE(r.output.find(s), std::string::npos) << r.output;
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
    struct { int col, row; uint8_t r, g, b; } tiles[] = {
        {1, 0, 255, 0, 0}, {5, 0, 0, 255, 0}, {4, 238, 0, 0, 128}, {2, 239, 0, 0, 255}, {0, 120, 24, 24, 24}};
    for (int s : {1, 3}) {
        std::string in = dir + (s == 1 ? "/game.level.txt" : "/game.level.bmp"), out = dir + "/game.level.png";
        ASSERT_EQ(run_tool("preview " + in + " " + out + " " + std::to_string(s)).status, 0);
        int w = 0, h = 0;
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

// What is no regular file, or too large to hold, ends a tool with one line naming
// it and status 1: never a wait, never an abort.
TEST(LevelTools, UnusableInputEndsWithOneLineAndStatusOne) {
    std::string dir = temp_folder();
    std::string folder = dir + "/folder.bmp", text_folder = dir + "/folder.txt", fifo = dir + "/fifo.bmp";
    ASSERT_EQ(mkdir(folder.c_str(), 0700) | mkdir(text_folder.c_str(), 0700) | mkfifo(fifo.c_str(), 0600), 0);
    // a text level of 4 million tiles: a preview at scale 64 would be 16 billion pixels
    std::string huge(2000, '#');
    std::string huge_text;
    for (int r = 0; r < 2000; r++)
        huge_text += huge + "\n";
    write_text_file(dir + "/huge.txt", huge_text);
    write_text_file(dir + "/good.txt", plain_level());
    write_text_file(dir + "/one.replay", "10 -\n");
    struct {
        const char* tool;
        std::string args, names, says;
    } cases[] = {
        {"quovix-level", "check " + folder, folder, "not a regular file"},
        {"quovix-level", "check " + text_folder, text_folder, "not a regular file"},
        {"quovix-level", "check " + fifo, fifo, "not a regular file"},
        {"quovix-level", "check /dev/zero", "/dev/zero", "not a regular file"},
        {"quovix-level", "text " + folder + " " + dir + "/out.txt", folder, "not a regular file"},
        {"quovix-level", "bmp " + text_folder + " " + dir + "/out.bmp", text_folder, "not a regular file"},
        {"quovix-level", "preview " + dir + "/huge.txt " + dir + "/huge.png 64", dir + "/huge.txt", "more than the 16777216"},
        {"quovix-level", "preview " + folder + " " + dir + "/out.png", folder, "not a regular file"},
        {"quovix-solve", folder + " " + dir + "/out.replay", folder, "not a regular file"},
        {"quovix-solve", "--play " + fifo + " " + dir + "/one.replay", fifo, "not a regular file"},
        {"quovix-solve", "--play " + dir + "/good.txt " + folder, folder, "not a regular file"},
        {"quovix-solve", "--play " + dir + "/good.txt /dev/zero", "/dev/zero", "not a regular file"},
    };
    for (const auto& c : cases) {
        tool_run r = run_tool(c.args, c.tool);
        ASSERT_TRUE(WIFEXITED(r.status)) << c.args << "\n" << r.output;
        EXPECT_EQ(WEXITSTATUS(r.status), 1) << c.args << "\n" << r.output;
        EXPECT_EQ(lines_of(r.output).size(), 1u) << c.args << "\n" << r.output;
        EXPECT_EQ(r.output.rfind(c.names + ": ", 0), 0u) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.args << "\n" << r.output;
    }
}

// A picture whose image-size field claims more than its rows (the bytes there)
// is read by the tools as by the game: the same tiles, and a replay runs the same.
TEST(LevelTools, ImageSizePastTheRowsReadsTheSameTiles) {
    std::string dir = temp_folder();
    std::string level = read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.txt");
    std::string replay = std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.replay";
    std::vector<uint8_t> plain = level_bmp(level);
    write_binary_file(dir + "/plain.bmp", plain);
    tool_run text = run_tool("text " + dir + "/plain.bmp " + dir + "/plain.txt");
    ASSERT_EQ(text.status, 0) << text.output;
    tool_run played = run_tool("--play " + dir + "/plain.bmp " + replay, "quovix-solve");
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
        tool_run again = run_tool("--play " + name + ".bmp " + replay, "quovix-solve");
        EXPECT_EQ(again.status, 0) << again.output;
        EXPECT_EQ(again.output, played.output) << extra;
    }
}
