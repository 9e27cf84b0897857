// Full-screen pictures: raw blue-green-red from byte 0, as many pixels as asked for.
#include <gtest/gtest.h>

#include "assets/picture.h"
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
