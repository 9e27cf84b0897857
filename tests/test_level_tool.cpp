// quovix-level: the check lists every problem of a level picture by file, and
// the preview draws a level as a paint program shows it.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/levelsource.h"
#include "support.h"

struct tool_run {
    int         status;
    std::string output;
};

static tool_run run_tool(const std::string& args) {
    std::string cmd = std::string(QUOVIX_TOOLS_DIR) + "/quovix-level " + args + " 2>&1";
    tool_run r = {-1, ""};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[512];
    while (fgets(buf, sizeof(buf), p))
        r.output += buf;
    r.status = pclose(p);
    return r;
}

static level_grid_t grid_of(const std::string& text) {
    level_grid_t g;
    std::string why;
    EXPECT_TRUE(level_from_text(text, &g, &why)) << why;
    return g;
}

static std::string write_bmp(const level_grid_t& g, const std::string& name) {
    std::string path = temp_folder() + "/" + name;
    write_binary_file(path, level_to_bmp(g));
    return path;
}

static void set_bgr(level_grid_t* g, int column, int row, uint8_t b, uint8_t gr, uint8_t r) {
    uint8_t* p = &g->bgr[((size_t)row * g->width + column) * 3];
    p[0] = b, p[1] = gr, p[2] = r;
}

TEST(LevelCheck, APlainLevelIsOk) {
    std::string path = write_bmp(grid_of(plain_level()), "good.bmp");
    tool_run r = run_tool("check " + path);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(path + ": ok"), std::string::npos) << r.output;
}

TEST(LevelCheck, NamesAStrayColourByColumnAndRow) {
    level_grid_t g = grid_of(plain_level());
    set_bgr(&g, 3, 17, 0xFE, 0x00, 0x00);   // a smoothed floor edge
    std::string path = write_bmp(g, "smoothed.bmp");
    tool_run r = run_tool("check " + path);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find(path + ": column 3, row 17"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("0,0,254"), std::string::npos) << r.output;
}

TEST(LevelCheck, ReportsEveryProblemOnALineOfItsOwn) {
    level_grid_t g = grid_of(plain_level({{0, "...###."}}, false));
    set_bgr(&g, 1, 5, 10, 20, 30);
    set_bgr(&g, 5, 200, 10, 20, 30);
    std::string path = write_bmp(g, "many.bmp");
    tool_run r = run_tool("check " + path);
    EXPECT_NE(r.status, 0);
    int lines = 0;
    for (size_t at = 0; (at = r.output.find(path + ": ", at)) != std::string::npos; at++)
        lines++;
    EXPECT_EQ(lines, 4) << r.output;   // two colours, no finish, spawn on a gap
    EXPECT_NE(r.output.find("finish"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("spawn"), std::string::npos) << r.output;
}

TEST(LevelCheck, RefusesAnotherSize) {
    std::string text;
    for (int r = 0; r < 200; r++)
        text += r < 10 ? ".FFFFF.\n" : ".#####.\n";
    std::string path = write_bmp(grid_of(text), "short.bmp");
    tool_run r = run_tool("check " + path);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("7x200"), std::string::npos) << r.output;
}

TEST(LevelCheck, RefusesA32BitPicture) {
    std::vector<uint8_t> bmp = level_to_bmp(grid_of(plain_level()));
    bmp[28] = 32;
    std::string path = temp_folder() + "/deep.bmp";
    write_binary_file(path, bmp);
    tool_run r = run_tool("check " + path);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("32 bits"), std::string::npos) << r.output;
}

TEST(LevelCheck, RefusesACompressedPicture) {
    std::vector<uint8_t> bmp = level_to_bmp(grid_of(plain_level()));
    bmp[30] = 1;
    std::string path = temp_folder() + "/packed.bmp";
    write_binary_file(path, bmp);
    EXPECT_NE(run_tool("check " + path).status, 0);
}

TEST(LevelCheck, ANeverMentionedFileIsNotOk) {
    tool_run r = run_tool("check /nonexistent/levelone.bmp");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("/nonexistent/levelone.bmp: "), std::string::npos);
}

TEST(LevelCheck, OneBadFileAmongGoodOnesFailsTheRun) {
    std::string good = write_bmp(grid_of(plain_level()), "good.bmp");
    std::string bad = write_bmp(grid_of(plain_level({}, false)), "bad.bmp");
    tool_run r = run_tool("check " + good + " " + bad);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find(good + ": ok"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(bad + ": no finish"), std::string::npos) << r.output;
}

TEST(LevelCheck, AcceptsATextSource) {
    std::string dir = temp_folder();
    write_text_file(dir + "/level.txt", "; a note\n" + plain_level());
    tool_run r = run_tool("check " + dir + "/level.txt");
    EXPECT_EQ(r.status, 0) << r.output;
    write_text_file(dir + "/broken.txt", plain_level({{3, ".##x##."}}));
    EXPECT_NE(run_tool("check " + dir + "/broken.txt").status, 0);
}

struct png_image_t {
    int                  width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

static bool read_png(const std::string& path, png_image_t* img) {
    png_image im;
    memset(&im, 0, sizeof(im));
    im.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&im, path.c_str()))
        return false;
    im.format = PNG_FORMAT_RGB;
    img->width = (int)im.width;
    img->height = (int)im.height;
    img->rgb.resize(PNG_IMAGE_SIZE(im));
    return png_image_finish_read(&im, nullptr, img->rgb.data(), 0, nullptr) != 0;
}

static const uint8_t* pixel(const png_image_t& img, int x, int y) {
    return &img.rgb[((size_t)y * img.width + x) * 3];
}

TEST(LevelPreview, DrawsTheFarEndAtTheTop) {
    std::string dir = temp_folder();
    // a wall tile near the start at column 4 and a heart at the far end in column 1
    write_text_file(dir + "/level.txt", plain_level({{1, ".###W#."}, {239, ".H###F."}}));
    ASSERT_EQ(run_tool("preview " + dir + "/level.txt " + dir + "/level.png 1").status, 0);
    png_image_t img;
    ASSERT_TRUE(read_png(dir + "/level.png", &img));
    ASSERT_EQ(img.width, 7);
    ASSERT_EQ(img.height, 240);
    const uint8_t* heart = pixel(img, 1, 0);
    EXPECT_EQ(heart[0], 255);
    EXPECT_EQ(heart[1], 0);
    EXPECT_EQ(heart[2], 0);
    const uint8_t* finish = pixel(img, 5, 0);
    EXPECT_EQ(finish[1], 255);
    const uint8_t* wall = pixel(img, 4, 238);
    EXPECT_EQ(wall[0], 0);
    EXPECT_EQ(wall[1], 0);
    EXPECT_EQ(wall[2], 128);
    const uint8_t* floor = pixel(img, 2, 239);
    EXPECT_EQ(floor[2], 255);
}

TEST(LevelPreview, ScalesEachTileToASquare) {
    std::string path = write_bmp(grid_of(plain_level()), "level.bmp");
    std::string out = temp_folder() + "/level.png";
    ASSERT_EQ(run_tool("preview " + path + " " + out + " 3").status, 0);
    png_image_t img;
    ASSERT_TRUE(read_png(out, &img));
    EXPECT_EQ(img.width, 21);
    EXPECT_EQ(img.height, 720);
    // column 0 is a gap, column 1 floor, both three pixels wide
    EXPECT_EQ(pixel(img, 2, 360)[2], pixel(img, 0, 360)[2]);
    EXPECT_EQ(pixel(img, 3, 360)[2], 255);
}

TEST(LevelPreview, RefusesAnUnreadableLevel) {
    std::string out = temp_folder() + "/level.png";
    tool_run r = run_tool("preview /nonexistent.bmp " + out);
    EXPECT_NE(r.status, 0);
}
