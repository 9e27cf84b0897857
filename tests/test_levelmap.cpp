#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/headless.h"
#include "assets/levelsource.h"
#include "game/actions.h"
#include "render/levelmap.h"
#include "support.h"

namespace {

// An empty map of the given geometry, every tile a gap.
void blank_map(int width, int height, int line_length) {
    free_level();
    level = level_map_t{};
    level.width = (int16_t)width;
    level.height = (int16_t)height;
    level.line_length = line_length;
    level.pixels_size = (uint32_t)(line_length * height);
    level.pixels = (uint8_t*)calloc(level.pixels_size, 1);
}

void paint(int offset, uint8_t b, uint8_t g, uint8_t r) {
    level.pixels[offset] = b;
    level.pixels[offset + 1] = g;
    level.pixels[offset + 2] = r;
}

std::vector<uint8_t> bmp_of(const std::string& text) {
    level_grid_t grid;
    std::string why;
    EXPECT_TRUE(level_from_text(text, &grid, &why)) << why;
    return level_to_bmp(grid);
}

FILE* file_of(const std::vector<uint8_t>& bytes) {
    FILE* f = tmpfile();
    if (f && !bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), f);
    if (f)
        rewind(f);
    return f;
}

void put32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)((uint32_t)v >> (8 * i));
}

// A folder laid out as a player's holding only the given level one, entered.
struct LevelFolder : testing::Test {
    char home[4096] = {};
    std::string root;
    void SetUp() override {
        reset_game_state();
        ASSERT_TRUE(getcwd(home, sizeof(home)));
        root = temp_folder();
        std::filesystem::create_directories(root + "/bin");
        std::filesystem::create_directories(root + "/resources");
        ASSERT_EQ(chdir((root + "/bin").c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(home), 0);
        reset_game_state();
    }
    void level_file(const char* name, const std::vector<uint8_t>& bytes) {
        write_binary_file(root + "/resources/" + name, bytes);
    }
};

}  // namespace

TEST(LevelMap, TileKindsNeedAllThreeBytesExact) {
    blank_map(7, 200, 24);
    struct { uint8_t b, g, r; tile_kind_t kind; } table[] = {
        {0xFF, 0x00, 0x00, TILE_FLOOR}, {0x00, 0xFF, 0x00, TILE_FINISH}, {0x80, 0x00, 0x00, TILE_WALL},
        {0x00, 0xFF, 0xFF, TILE_STAR},  {0x00, 0x00, 0xFF, TILE_HEART},  {0xFE, 0x00, 0x00, TILE_GAP},
        {0xFF, 0x00, 0x01, TILE_GAP},   {0x81, 0x00, 0x00, TILE_GAP},    {0x00, 0xFF, 0xFE, TILE_GAP},
    };
    int col = 0;
    for (const auto& t : table) {
        int offset = (col / 7) * 24 + (col % 7) * 3;
        paint(offset, t.b, t.g, t.r);
        EXPECT_EQ(tile_kind_at(offset), t.kind) << "column " << col;
        EXPECT_EQ(tile_carries_ship(offset), t.kind != TILE_GAP) << "column " << col;
        col++;
    }
    // a taken star turns into floor; its neighbours stay as they were
    int star = 10 * 24 + 3 * 3;
    paint(star, 0x00, 0xFF, 0xFF);
    set_tile_floor(star);
    EXPECT_EQ(tile_kind_at(star), TILE_FLOOR);
    EXPECT_EQ(level.pixels[star + 3], 0);
    EXPECT_EQ(tile_kind_at(-3), TILE_GAP);
    EXPECT_EQ(tile_kind_at(24 * 200 - 2), TILE_GAP);
    free_level();
}

TEST(LevelMap, LookupTruncatesByTheHeightAndRefusesEveryEdge) {
    blank_map(7, 200, 24);
    bool outside = true;
    EXPECT_EQ(tile_lookup(0.0124f, 0.0051f, &outside), 24 + 6);
    EXPECT_FALSE(outside);
    EXPECT_EQ(tile_lookup(0.0f, 0.0f, &outside), 0);
    EXPECT_FALSE(outside);
    // last tile on the map
    EXPECT_EQ(tile_lookup(6.5f / 200, 199.5f / 200, &outside), 199 * 24 + 18);
    EXPECT_FALSE(outside);

    // x * H lands exactly on the width: the first column past the right edge
    ASSERT_EQ(7.0f / 200.0f * 200.0f, 7.0f);
    struct { float x, y; } off_map[] = {
        {-0.001f, 0.0051f}, {0.0124f, -0.001f}, {-1e-9f, 0.5f},
        {7.0f / 200.0f, 0.5f}, {0.0124f, 1.0f}, {0.0124f, 1e30f}, {1e30f, 0.5f},
        {-1e30f, 0.5f}, {NAN, 0.5f}, {0.0124f, NAN}, {INFINITY, 0.5f},
    };
    for (const auto& p : off_map) {
        outside = false;
        EXPECT_EQ(tile_lookup(p.x, p.y, &outside), 0) << p.x << "," << p.y;
        EXPECT_TRUE(outside) << p.x << "," << p.y;
    }
    free_level();
}

TEST_F(LevelFolder, FiveWideRowsArePaddedToSixteenBytes) {
    std::string text;
    for (int r = 39; r >= 0; r--)
        text += r == 10 ? "#*WHF\n" : "#####\n";
    level_file("levelone.bmp", bmp_of(text));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(load_first_level());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Bitmap size: 5,40 (line length:16, size:640 (600))\n");
    const tile_kind_t row10[5] = {TILE_FLOOR, TILE_STAR, TILE_WALL, TILE_HEART, TILE_FINISH};
    for (int c = 0; c < 5; c++) {
        bool outside = true;
        int at = tile_lookup((c + 0.5f) / 40, (10 + 0.5f) / 40, &outside);
        EXPECT_EQ(at, 16 * 10 + 3 * c);
        EXPECT_EQ(tile_kind_at(at), row10[c]) << c;
    }
}

TEST_F(LevelFolder, LaterLevelsMustHaveTheSizeOfLevelOne) {
    level_file("levelone.bmp", bmp_of(plain_level()));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(load_first_level());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Bitmap size: 7,240 (line length:24, size:5760 (5040))\n");
    // row 0 is the near end: the finish lies in the far rows
    bool outside;
    EXPECT_EQ(tile_kind_at(tile_lookup(0.01175f, 0.00175f, &outside)), TILE_FLOOR);
    EXPECT_EQ(tile_kind_at(tile_lookup(0.01175f, 0.999f, &outside)), TILE_FINISH);
    std::vector<uint8_t> before(level.pixels, level.pixels + level.pixels_size);

    std::string wide;
    for (int r = 0; r < 240; r++)
        wide += ".#######.\n";
    level_file("leveltwo.bmp", bmp_of(wide));
    std::string why;
    EXPECT_FALSE(load_next_level("../resources/leveltwo.bmp", &why));
    EXPECT_FALSE(why.empty());
    std::string short_level;
    for (int r = 0; r < 200; r++)
        short_level += ".#####.\n";
    level_file("levelthree.bmp", bmp_of(short_level));
    why.clear();
    EXPECT_FALSE(load_next_level("../resources/levelthree.bmp", &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(std::vector<uint8_t>(level.pixels, level.pixels + level.pixels_size), before);

    // one of the same size replaces the pixels but keeps the geometry
    level_file("levelfour.bmp", bmp_of(plain_level({{0, "*******"}})));
    ASSERT_TRUE(load_next_level("../resources/levelfour.bmp", &why)) << why;
    EXPECT_EQ(tile_kind_at(0), TILE_STAR);
    EXPECT_EQ(level.width, 7);
    EXPECT_EQ(level.height, 240);
    EXPECT_EQ(level.line_length, 24);
}

TEST(LevelImage, MalformedPicturesAreRefusedWithAReason) {
    const std::vector<uint8_t> good = bmp_of(".#F\n*WH\n#.#\n###\n");   // 3x4, rows of 12 bytes
    {
        uint8_t header[40];
        uint32_t size = 0;
        std::string why;
        uint8_t* block = read_level_image(file_of(good), header, &size, &why);
        ASSERT_NE(block, nullptr) << why;
        EXPECT_EQ(size, 48u);
        EXPECT_EQ(memcmp(block, good.data() + 54, 48), 0);
        EXPECT_EQ(memcmp(header, good.data() + 14, 40), 0);
        free(block);
    }
    struct bad_t {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<bad_t> table;
    auto edited = [&](const char* what, size_t at, int32_t v) {
        std::vector<uint8_t> b = good;
        put32(b, at, v);
        table.push_back({what, b});
    };
    table.push_back({"empty file", {}});
    table.push_back({"cut in the file header", std::vector<uint8_t>(good.begin(), good.begin() + 10)});
    table.push_back({"cut in the info header", std::vector<uint8_t>(good.begin(), good.begin() + 30)});
    table.push_back({"cut in the pixels", std::vector<uint8_t>(good.begin(), good.end() - 5)});
    edited("height 0", 22, 0);
    edited("negative height", 22, -4);
    edited("width 0", 18, 0);
    edited("width 70000", 18, 70000);
    edited("height 70000", 22, 70000);
    {
        std::vector<uint8_t> b = good;
        b[28] = 32;
        table.push_back({"32 bits a pixel", b});
    }
    edited("compressed", 30, 1);
    edited("image size 0", 34, 0);
    edited("image size below rows times height", 34, 47);
    edited("image size unpadded", 34, 36);
    edited("image size past the file", 34, 4800);
    edited("data offset past the end", 10, (int32_t)good.size() + 100);
    edited("data offset leaves too few pixels", 10, 60);
    edited("data offset negative", 10, -1);
    for (const bad_t& t : table) {
        FILE* f = file_of(t.bytes);
        ASSERT_NE(f, nullptr);
        uint8_t header[40];
        uint32_t size = 12345;
        std::string why;
        uint8_t* block = read_level_image(f, header, &size, &why);
        EXPECT_EQ(block, nullptr) << t.what;
        EXPECT_FALSE(why.empty()) << t.what;
        free(block);
    }
}

TEST(LevelOne, MissingOrMalformedEndsTheProgramWithStatusOne) {
    std::string bin = make_play_folder({plain_level()});
    std::string levelone = bin + "/../resources/levelone.bmp";
    std::vector<uint8_t> cut = bmp_of(plain_level());
    cut.resize(200);
    // missing at program start, cut short at program start, missing when play starts
    for (int round = 0; round < 3; round++) {
        if (round == 2) {
            write_binary_file(levelone, bmp_of(plain_level()));
            ASSERT_TRUE(sim_open(bin.c_str()));
        }
        if (round != 1)
            ASSERT_EQ(remove(levelone.c_str()), 0);
        else
            write_binary_file(levelone, cut);
        testing::internal::CaptureStdout();
        bool opened = round == 2 ? sim_start_play() : sim_open(bin.c_str());
        std::string out = testing::internal::GetCapturedStdout();
        sim_close();
        EXPECT_FALSE(opened) << round;
        EXPECT_TRUE(sim_ended()) << round;
        EXPECT_EQ(sim_exit_status(), 1) << round;
        EXPECT_NE(out.find("ERROR: cannot open input file with the scene data\n"), std::string::npos) << out;
        EXPECT_EQ(out.find("Bitmap size:"), std::string::npos) << out;
        // start-up stopped before queueing anything
        EXPECT_FALSE(actions_has(ACT_MENU) || actions_has(ACT_ON_TRACK)) << round;
        EXPECT_EQ(level.pixels, nullptr);
    }
    reset_game_state();
}
