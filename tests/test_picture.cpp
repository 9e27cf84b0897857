#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "assets/picture.h"

namespace {

FILE* file_of(const std::vector<uint8_t>& bytes) {
    FILE* f = tmpfile();
    if (f && !bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), f);
    if (f)
        rewind(f);
    return f;
}

}  // namespace

TEST(Picture, BlueGreenRedBytesBecomeRedGreenBlue) {
    std::vector<uint8_t> rgb = read_picture(file_of({10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9}), 2, 2);
    EXPECT_EQ(rgb, (std::vector<uint8_t>{30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST(Picture, ShortFileLeavesTheRestZero) {
    std::vector<uint8_t> rgb = read_picture(file_of({10, 20, 30, 40, 50}), 2, 2);
    EXPECT_EQ(rgb, (std::vector<uint8_t>{30, 20, 10, 0, 50, 40, 0, 0, 0, 0, 0, 0}));
    rgb = read_picture(file_of({}), 3, 1);
    EXPECT_EQ(rgb, std::vector<uint8_t>(9, 0));
}

TEST(Picture, ReadsExactlyWidthTimesHeightPixelsFromByteZero) {
    // a bitmap header is not skipped: it is taken as the first pixels
    const int w = 1366, h = 3;
    std::vector<uint8_t> file(54 + w * h * 3);
    for (size_t i = 0; i < file.size(); i++)
        file[i] = (uint8_t)(i * 7 + i / 251);
    file[0] = 'B';
    file[1] = 'M';
    std::vector<uint8_t> rgb = read_picture(file_of(file), w, h);
    ASSERT_EQ(rgb.size(), (size_t)w * h * 3);
    EXPECT_EQ(rgb[0], file[2]);
    EXPECT_EQ(rgb[2], 'B');
    bool all = true;
    for (size_t p = 0; p < (size_t)w * h && all; p++)
        all = rgb[p * 3] == file[p * 3 + 2] && rgb[p * 3 + 1] == file[p * 3 + 1] && rgb[p * 3 + 2] == file[p * 3];
    EXPECT_TRUE(all);
}

TEST(Picture, NoPixelsForAnEmptyOrNegativeSize) {
    EXPECT_TRUE(read_picture(file_of({1, 2, 3}), 0, 5).empty());
    EXPECT_TRUE(read_picture(file_of({1, 2, 3}), 4, -1).empty());
    EXPECT_TRUE(read_picture(file_of({1, 2, 3}), -2, -2).empty());
}
