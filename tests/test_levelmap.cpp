// The level map: tile colours, lookups, padded rows, and the level picture reader.
// (Level one broken in the ways a player meets is played through the real game in test_bad_files.cpp.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "app/frame.h"
#include "app/headless.h"
#include "app/levels.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "game/actions.h"
#include "game/levelmap.h"
#include "support.h"

// An empty map 7 wide and 200 high, rows of 24 bytes, every tile a gap.
static void blank_map() {
    game.level = level_map_t{};
    game.level.width = 7;
    game.level.height = 200;
    game.level.line_length = 24;
    game.level.pixels.assign(24 * 200, 0);
}

static void paint(int offset, uint8_t b, uint8_t g, uint8_t r) {
    game.level.pixels[offset] = b;
    game.level.pixels[offset + 1] = g;
    game.level.pixels[offset + 2] = r;
}

TEST(LevelMap, TileKindsNeedAllThreeBytesExact) {
    blank_map();
    struct {
        uint8_t     b, g, r;
        tile_kind_t kind;
    } table[] = {
        {0xFF, 0x00, 0x00, TILE_FLOOR}, {0x00, 0xFF, 0x00, TILE_FINISH}, {0x80, 0x00, 0x00, TILE_WALL},
        {0x00, 0xFF, 0xFF, TILE_STAR},  {0x00, 0x00, 0xFF, TILE_HEART},  {0xFE, 0x00, 0x00, TILE_GAP},
        {0xFF, 0x00, 0x01, TILE_GAP},   {0x81, 0x00, 0x00, TILE_GAP},    {0x00, 0xFF, 0xFE, TILE_GAP},
    };
    int offset = 0;
    for (const auto& t : table) {
        paint(offset, t.b, t.g, t.r);
        EXPECT_EQ(tile_kind_at(offset), t.kind) << "offset " << offset;
        EXPECT_EQ(tile_carries_ship(offset), t.kind != TILE_GAP) << "offset " << offset;
        offset += offset % 24 == 18 ? 6 : 3;
    }
    // a taken star turns into floor; its neighbours stay as they were
    int star = 10 * 24 + 3 * 3;
    paint(star, 0x00, 0xFF, 0xFF);
    set_tile_floor(star);
    EXPECT_EQ(tile_kind_at(star), TILE_FLOOR);
    EXPECT_EQ(game.level.pixels[star + 3], 0);
    EXPECT_EQ(tile_kind_at(-3), TILE_GAP);
    EXPECT_EQ(tile_kind_at(24 * 200 - 2), TILE_GAP);
    // in rows without padding the last tile ends the block: its three bytes are read
    paint(24 * 200 - 3, 0x00, 0xFF, 0xFF);
    EXPECT_EQ(tile_kind_at(24 * 200 - 3), TILE_STAR);
    game.level = level_map_t{};
}

TEST(LevelMap, LookupTruncatesByTheHeightAndRefusesEveryEdge) {
    blank_map();
    // x * H landing exactly on the width is the first column past the right edge
    ASSERT_EQ(7.0f / 200.0f * 200.0f, 7.0f);
    struct {
        float x, y;
        int   offset;
    } points[] = {
        {0.0124f, 0.0051f, 24 + 6}, {0.0f, 0.0f, 0},        {6.5f / 200, 199.5f / 200, 199 * 24 + 18},   // on the map
        {-0.001f, 0.0051f, -1},     {0.0124f, -0.001f, -1}, {-1e-9f, 0.5f, -1},
        {7.0f / 200.0f, 0.5f, -1},  {0.0124f, 1.0f, -1},    {0.0124f, 1e30f, -1},
        {1e30f, 0.5f, -1},          {-1e30f, 0.5f, -1},     {NAN, 0.5f, -1},
        {0.0124f, NAN, -1},         {INFINITY, 0.5f, -1},
    };
    for (const auto& p : points) {
        bool outside = p.offset >= 0;
        EXPECT_EQ(tile_lookup(p.x, p.y, &outside), std::max(p.offset, 0)) << p.x << "," << p.y;
        EXPECT_EQ(outside, p.offset < 0) << p.x << "," << p.y;
    }
    game.level = level_map_t{};
}

using LevelFolder = InFreshFolder;

TEST_F(LevelFolder, FiveWideRowsArePaddedToSixteenBytes) {
    std::string text;
    for (int r = 39; r >= 0; r--)
        text += r == 10 ? "#*WHF\n" : "#####\n";
    ASSERT_EQ(mkdir("bin", 0700) | mkdir("resources", 0700) | chdir("bin"), 0);
    write_binary_file("../resources/levelone.bmp", level_bmp(text));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(load_first_level());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bitmap size: 5,40 (line length:16, size:640 (600))\n");
    const tile_kind_t row10[5] = {TILE_FLOOR, TILE_STAR, TILE_WALL, TILE_HEART, TILE_FINISH};
    for (int c = 0; c < 5; c++) {
        bool outside = true;
        int  at = tile_lookup((c + 0.5f) / 40, (10 + 0.5f) / 40, &outside);
        EXPECT_EQ(at, 16 * 10 + 3 * c);
        EXPECT_EQ(tile_kind_at(at), row10[c]) << c;
    }
    // a later level of another width or height is refused and the pixels are kept;
    // one of the same size replaces the pixels only
    auto rows = [](const std::string& row, int n) {
        std::string t;
        for (int r = 0; r < n; r++)
            t += row;
        return t;
    };
    std::vector<uint8_t> before = game.level.pixels;
    std::string          why;
    for (const std::string& other : {rows("######\n", 40), rows("#####\n", 39)}) {
        write_binary_file("../resources/other.bmp", level_bmp(other));
        read_next_level("../resources/other.bmp");
        EXPECT_FALSE(swap_in_next_level(&why)) << other.size();
        EXPECT_FALSE(why.empty());
        why.clear();
    }
    EXPECT_EQ(game.level.pixels, before);
    const std::vector<uint8_t> same = level_bmp(rows("*####\n", 40));
    write_binary_file("../resources/same.bmp", same);
    read_next_level("../resources/same.bmp");
    ASSERT_TRUE(swap_in_next_level(&why)) << why;
    EXPECT_EQ(tile_kind_at(0), TILE_STAR);
    // every pixel is the next level's, none left over from the first
    EXPECT_EQ(game.level.pixels, std::vector<uint8_t>(same.begin() + 54, same.end()));
    EXPECT_EQ(std::vector<int>({game.level.width, game.level.height, game.level.line_length}),
              std::vector<int>({5, 40, 16}));
}

// An image-size field past the rows (its bytes in the file) changes nothing: the
// rows are stepped by the width, the size line is the same, the tiles are the same.
TEST_F(LevelFolder, ImageSizePastTheRowsIsIgnored) {
    std::string text;
    for (int r = 39; r >= 0; r--)
        text += r % 7 == 3 ? "#*WHF\n" : r % 5 == 1 ? "F.#.W\n" : "#####\n";
    const std::vector<uint8_t> plain = level_bmp(text);   // rows of 16 bytes
    ASSERT_EQ(mkdir("bin", 0700) | mkdir("resources", 0700) | chdir("bin"), 0);
    std::vector<uint8_t> first_pixels;
    for (int extra : {0, 2, 240}) {
        std::vector<uint8_t> bytes = plain;
        bytes.resize(bytes.size() + extra, 0x7F);
        put32(bytes, 34, 640 + extra);
        write_binary_file("../resources/levelone.bmp", bytes);
        testing::internal::CaptureStdout();
        ASSERT_TRUE(load_first_level()) << extra;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bitmap size: 5,40 (line length:16, size:640 (600))\n")
            << extra;
        if (extra == 0)
            first_pixels = game.level.pixels;
        EXPECT_EQ(game.level.pixels, first_pixels) << extra;
    }
    game.level = level_map_t{};
}

// Pictures the reader must refuse with a reason; the common breakages of a
// player's level one are also played through the real game (test_bad_files.cpp).
TEST(LevelImage, MalformedPicturesAreRefusedWithAReason) {
    const std::vector<uint8_t> good = level_bmp(".#F\n*WH\n#.#\n###\n");   // 3x4, rows of 12 bytes
    level_map_t                picture;
    std::string                why;
    ASSERT_TRUE(read_level_picture(file_of(good), &picture, &why)) << why;
    EXPECT_EQ(picture.pixels.size(), 48u);
    EXPECT_EQ(memcmp(picture.pixels.data(), good.data() + 54, 48), 0);
    EXPECT_EQ(memcmp(picture.info_header, good.data() + 14, 40), 0);
    // cut_to >= 0: the file cut to that many bytes; otherwise the field at `at` set to value
    struct {
        const char* what;
        int         cut_to;
        size_t      at;
        int32_t     value;
        const char* says = nullptr;   // the reason, where a level maker must see it
    } edits[] = {
        {"empty file", 0, 0, 0},
        {"a PNG under a level's name", -1, 0, 0x474E5089, "not a BMP picture"},
        {"cut in the file header", 10, 0, 0},
        {"width 0", -1, 18, 0},
        {"height 70000", -1, 22, 70000},
        {"compressed", -1, 30, 1},
        {"image size below rows times height", -1, 34, 47},
        {"image size unpadded", -1, 34, 36},
        {"image size past the file", -1, 34, 4800},
        {"data offset leaves too few pixels", -1, 10, 60},
        {"data offset negative", -1, 10, -1},
    };
    for (const auto& e : edits) {
        std::vector<uint8_t> bytes = good;
        if (e.cut_to >= 0)
            bytes.resize(e.cut_to);
        else
            put32(bytes, e.at, e.value);
        why.clear();
        EXPECT_FALSE(read_level_picture(file_of(bytes), &picture, &why)) << e.what;
        EXPECT_FALSE(why.empty()) << e.what;
        EXPECT_TRUE(!e.says || why == e.says) << e.what << ": " << why;
    }
    // the longest side a picture may have is read; one more is refused
    std::string tall;
    for (int r = 0; r < 32767; r++)
        tall += "#\n";
    for (const std::string& text : {std::string(32767, '#') + "\n", tall}) {
        bool                       wide = text.size() < tall.size();
        const std::vector<uint8_t> big = level_bmp(text);
        why.clear();
        EXPECT_TRUE(read_level_picture(file_of(big), &picture, &why)) << why;
        EXPECT_EQ(wide ? picture.width : picture.height, 32767);
        std::vector<uint8_t> over = big;
        put32(over, wide ? 18 : 22, 32768);
        EXPECT_FALSE(read_level_picture(file_of(over), &picture, &why)) << wide;
    }
}

// The writer pads each row to four bytes exactly as the reader steps it: widths whose
// three bytes a tile already fill whole words gain no padding.
TEST(LevelImage, WriterPadsRowsAsTheReaderStepsThem) {
    struct {
        int    width;
        size_t row_bytes;
    } rows[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}, {8, 24}, {9, 28}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.width);
        std::string text;
        for (int line = 0; line < 3; line++)
            for (int c = 0; c <= r.width; c++)
                text += c == r.width ? '\n' : "#*WHF."[(c + line) % 6];
        const std::vector<uint8_t> bytes = level_bmp(text);
        EXPECT_EQ(bmp_row_bytes(r.width, 24), r.row_bytes);
        EXPECT_EQ(bytes.size(), BMP_HEADERS_SIZE + 3 * r.row_bytes);
        EXPECT_EQ(read_le32(&bytes[BMP_FILE_SIZE_AT]), (int32_t)bytes.size());
        EXPECT_EQ(read_le16(&bytes[BMP_PLANES_AT]), 1);
        EXPECT_EQ(read_le16(&bytes[BMP_BITS_AT]), 24);
        level_map_t picture;
        std::string why;
        ASSERT_TRUE(read_level_picture(file_of(bytes), &picture, &why)) << why;
        EXPECT_EQ(picture.line_length, (int32_t)r.row_bytes);
        level_grid_t grid;
        ASSERT_TRUE(level_from_bmp(bytes, &grid, &why)) << why;
        EXPECT_EQ(level_to_text(grid), text);
    }
}

// Refusals a level maker reads: each names the first thing wrong, at the edge where it starts.
TEST(LevelImage, RefusalsAtTheirEdgesSayWhatIsWrong) {
    auto columns = [](int width, int height) {
        std::string text;
        for (int line = 0; line < height; line++)
            text += std::string(width, '#') + "\n";
        return text;
    };
    const std::vector<uint8_t> good = level_bmp(".#F\n*WH\n#.#\n###\n");   // 3x4, 48 bytes of pixels
    std::vector<uint8_t>       offset_at_end = good;
    put32(offset_at_end, BMP_DATA_OFFSET_AT, (int32_t)good.size());
    std::vector<uint8_t> offset_in_headers = good, signature_ba = good;
    put32(offset_in_headers, BMP_DATA_OFFSET_AT, BMP_HEADERS_SIZE - 1);
    signature_ba[1] = 'A';
    std::vector<uint8_t> one_tile_over = level_bmp(columns(3, 4));
    put32(one_tile_over, BMP_HEIGHT_AT, (int32_t)(LEVEL_MAX_TILES / 3 + 1));
    struct {
        const char*          what;
        std::vector<uint8_t> bytes;
        const char*          why;
    } rows[] = {
        {"the most tiles a level may have", level_bmp(columns(128, 256)), ""},
        {"one tile more", one_tile_over, "3x10923 is 32769 tiles, more than the 32768 a level may have"},
        {"pixels starting where the file ends", offset_at_end, "file ends before its 48 bytes of pixels"},
        {"pixels starting in the headers", offset_in_headers,
         "pixel data offset 53 lies inside the 54 bytes of headers"},
        {"the signature 'BA'", signature_ba, "not a BMP picture"},
        {"pixels starting past the file",
         [&] {
             std::vector<uint8_t> b = good;
             put32(b, BMP_DATA_OFFSET_AT, (int32_t)good.size() + 1);
             return b;
         }(),
         "pixel data offset 103 lies outside the file"},
    };
    for (const auto& r : rows) {
        level_map_t picture;
        std::string why;
        EXPECT_EQ(read_level_picture(file_of(r.bytes), &picture, &why), *r.why == 0) << r.what;
        EXPECT_EQ(why, r.why) << r.what;
    }
    // a text level's rows must all be as long as its first
    struct {
        const char* text;
        const char* why;
    } texts[] = {
        {"#.#\n##\n###\n", "line 2 has 2 tiles, the first has 3"},
        {"#.#\n###\n####\n", "line 3 has 4 tiles, the first has 3"},
        {"#.#\n###\n#\n", "line 3 has 1 tiles, the first has 3"},
    };
    for (const auto& t : texts) {
        level_grid_t grid;
        std::string  why;
        EXPECT_FALSE(level_from_text(t.text, &grid, &why)) << t.text;
        EXPECT_EQ(why, t.why);
    }
}

TEST(LevelOne, GoneWhenPlayStartsEndsTheProgramWithStatusOne) {
    std::string bin = make_play_folder({plain_level()});
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_EQ(remove((bin + "/../resources/levelone.bmp").c_str()), 0);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(sim_start_play());
    std::string out = testing::internal::GetCapturedStdout();
    sim_close();
    EXPECT_TRUE(sim_ended());
    EXPECT_EQ(sim_exit_status(), 1);
    EXPECT_NE(out.find("ERROR: cannot open input file with the scene data\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("Bitmap size:"), std::string::npos) << out;
    // start-up stopped before queueing anything
    EXPECT_FALSE(actions_has(ACT_MENU) || actions_has(ACT_ON_TRACK));
    EXPECT_TRUE(game.level.pixels.empty());
    reset_game_state();
}
