// Full-screen pictures: raw blue-green-red from byte 0, as many pixels as asked for.
#include <gtest/gtest.h>

#include "assets/picture.h"
#include "assets/startup.h"
#include "support.h"

TEST(Picture, BytesSwapToRedGreenBlueAndAShortFileLeavesTheRestZero) {
    EXPECT_EQ(read_picture(file_of({10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9}), 2, 2),
              (std::vector<uint8_t>{30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
    EXPECT_EQ(read_picture(file_of({10, 20, 30, 40, 50}), 2, 2),
              (std::vector<uint8_t>{30, 20, 10, 0, 50, 40, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(read_picture(file_of({}), 3, 1), std::vector<uint8_t>(9, 0));
    for (auto wh : {std::make_pair(0, 5), std::make_pair(4, -1), std::make_pair(-2, -2)})
        EXPECT_TRUE(read_picture(file_of({1, 2, 3}), wh.first, wh.second).empty()) << wh.first << wh.second;
}

TEST(Picture, ReadsExactlyWidthTimesHeightPixelsFromByteZero) {
    // a bitmap header is not skipped: it is taken as the first pixels
    const int            w = 1366, h = 3;
    std::vector<uint8_t> file(54 + w * h * 3);
    for (size_t i = 0; i < file.size(); i++)
        file[i] = (uint8_t)(i * 7 + i / 251);
    file[0] = 'B';
    std::vector<uint8_t> rgb = read_picture(file_of(file), w, h);
    ASSERT_EQ(rgb.size(), (size_t)w * h * 3);
    for (size_t i = 0; i < rgb.size(); i++)
        ASSERT_EQ(rgb[i], file[i - i % 3 + 2 - i % 3]) << i;
}

TEST(PictureSet, FolderNamesAreSizesOnlyWhenTheyReadAsAWindowSize) {
    struct {
        const char* name;
        int         w, h;   // 0: not a size
    } rows[] = {{"1366x768", 1366, 768},
                {"64x8192", 64, 8192},
                {"8192x64", 8192, 64},
                {"768x1366", 768, 1366},
                {"12x", 0, 0},
                {"0x0", 0, 0},
                {"99999x1", 0, 0},
                {"63x600", 0, 0},
                {"800x8193", 0, 0},
                {"01920x1080", 0, 0},
                {"+800x600", 0, 0},
                {"800X600", 0, 0},
                {"800x600x", 0, 0},
                {"800x600 ", 0, 0},
                {"x600", 0, 0},
                {"sounds", 0, 0},
                {".pictures-1a2b3c", 0, 0},
                {"99999999999999999999x600", 0, 0},
                {"", 0, 0}};
    for (const auto& r : rows) {
        int w = -1, h = -1;
        EXPECT_EQ(parse_picture_size(r.name, &w, &h), r.w != 0) << r.name;
        if (r.w)
            EXPECT_EQ(std::make_pair(w, h), std::make_pair(r.w, r.h)) << r.name;
        else
            EXPECT_EQ(std::make_pair(w, h), std::make_pair(-1, -1)) << r.name;
    }
}

// The build paints every set the game ships, as the game lists them.
TEST(PictureSet, EverySetThatShipsIsPaintedByTheBuild) {
    for (const picture_size_t& set : shipped_picture_sets) {
        std::string folder = std::string(QUOVIX_RESOURCES_DIR) + "/" + std::to_string(set.width) + "x" +
                             std::to_string(set.height) + "/";
        for (const picture_file_t& picture : picture_files)
            EXPECT_TRUE(file_exists(folder + picture.name)) << folder + picture.name;
    }
}

// The set stretched over a screen that has none of its own: the shape first, then the size, shrinking before enlarging.
TEST(PictureSet, TheNearestSetKeepsTheShapeThenTheSizeAndPrefersShrinking) {
    const std::vector<std::string> built = {"1366x768", "2560x1080", "1920x1200", "1920x1080"};
    auto                           plus = [&](std::vector<std::string> more) {
        more.insert(more.begin(), built.begin(), built.end());
        return more;
    };
    struct {
        int                      w, h;
        std::vector<std::string> names;
        const char*              nearest;   // nullptr: none
    } rows[] = {
        // 16:9 screens take a 16:9 set: the two differ by less than anyone sees, so size decides
        {1600, 900, built, "1920x1080"},
        {1280, 720, built, "1366x768"},
        {3840, 2160, built, "1920x1080"},
        {1360, 768, built, "1366x768"},
        // 16:10 and 21:9 to their own shapes, whatever the size
        {1280, 800, built, "1920x1200"},
        {2560, 1600, built, "1920x1200"},
        {3440, 1440, built, "2560x1080"},
        // 4:3 and 5:4: 16:10 is the nearest shape there is
        {1024, 768, built, "1920x1200"},
        {1280, 1024, built, "1920x1200"},
        // portrait screens to a portrait set where there is one, else to the least stretched
        {768, 1366, plus({"768x1366"}), "768x1366"},
        {1080, 1920, plus({"768x1366"}), "768x1366"},
        {1080, 1920, built, "1920x1200"},
        // equally far in size: the larger set, shrunk
        {1000, 1000, {"500x500", "2000x2000"}, "2000x2000"},
        {1000, 1000, {"2000x2000", "500x500"}, "2000x2000"},
        // shrinking by 1.5 beats enlarging by 1.3
        {1000, 1000, {"770x770", "1500x1500"}, "1500x1500"},
        {1000, 1000, {"900x900", "1500x1500"}, "900x900"},
        // mirrored shapes stretch alike: the wider set
        {1000, 1000, {"800x1000", "1000x800"}, "1000x800"},
        {1000, 1000, {"1000x800", "800x1000"}, "1000x800"},
        // names that are no sizes are passed over
        {1600, 900, {"12x", "0x0", "99999x1", "sounds", "1920x1080x", "01600x900", "1366x768"}, "1366x768"},
        {1600, 900, {"12x", "0x0", "99999x1", "sounds", ".pictures-x8a9"}, nullptr},
        {1600, 900, {}, nullptr},
    };
    for (const auto& r : rows) {
        int         i = nearest_picture_set(r.w, r.h, r.names);
        std::string got = i < 0 ? "none" : r.names[i];
        EXPECT_EQ(got, r.nearest ? r.nearest : "none") << r.w << "x" << r.h;
    }
}

// The zip's sets, gzipped: a packed picture unpacks to exactly its file, or is refused with the reason.
TEST(PackedPicture, UnpacksToExactlyItsFileOrSaysWhyNot) {
    const int   w = 64, h = 80;
    std::string file(w * h * 3, '\0');
    for (size_t i = 0; i < file.size(); i++)
        file[i] = (char)(i * 13 + i / 199);
    std::string packed = gzipped(file), crc_broken = packed, cut = packed.substr(0, packed.size() - 9);
    crc_broken[crc_broken.size() - 6] ^= 1;
    const std::string wrong_size = "does not unpack to a 64x80 picture (15360 bytes)";
    struct {
        const char* what;
        std::string packed;
        const char* why;   // nullptr: unpacks to the file
    } rows[] = {
        {"the picture", packed, nullptr},
        {"a pixel short", gzipped(file.substr(3)), wrong_size.c_str()},
        {"a byte long", gzipped(file + "x"), wrong_size.c_str()},
        {"cut short", cut, "is cut short"},
        {"empty", "", "is cut short"},
        {"its check broken", crc_broken, "is not a gzip file, or is damaged"},
        {"the raw file", file, "is not a gzip file, or is damaged"},
        {"bytes after its end", packed + "x", "has bytes after its end"},
        {"too large to be one", std::string(packed_picture_max_bytes(w, h) + 1, 'x'), "cannot be unpacked"},
    };
    for (const auto& r : rows) {
        std::string got, why;
        EXPECT_EQ(unpack_picture(r.packed, w, h, &got, &why), r.why == nullptr) << r.what;
        if (r.why)
            EXPECT_EQ(why, r.why) << r.what;
        else
            EXPECT_EQ(got, file) << r.what;
    }
    // the bytes as a picture file reads them
    std::vector<uint8_t> bytes(file.begin(), file.end());
    EXPECT_EQ(picture_rgb(file), read_picture(file_of(bytes), w, h));
}
