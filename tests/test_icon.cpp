// The window's icon file: the one the build paints is whole, and a broken one
// gives no icon and a line on standard error, never a crash.
#include <gtest/gtest.h>

#include "assets/icon.h"
#include "support.h"

namespace {

std::vector<uint8_t> icon_bytes(const std::vector<uint32_t>& numbers) {
    std::vector<uint8_t> bytes(numbers.size() * 4);
    for (size_t i = 0; i < numbers.size(); i++)
        put32(bytes, i * 4, (int32_t)numbers[i]);
    return bytes;
}

}   // namespace

TEST(Icon, TheBuildsIconHoldsItsSizesWhole) {
    std::vector<uint32_t> icon = read_icon(QUOVIX_RESOURCES_DIR "/icon.argb");
    ASSERT_TRUE(is_icon(icon));
    std::vector<uint32_t> sides;
    long                  opaque = 0;
    for (size_t at = 0; at < icon.size(); at += 2 + (size_t)icon[at] * icon[at + 1]) {
        sides.push_back(icon[at]);
        EXPECT_EQ(icon[at], icon[at + 1]);
        for (size_t p = at + 2; p < at + 2 + (size_t)icon[at] * icon[at + 1]; p++)
            opaque += icon[p] >> 24 == 255;
    }
    EXPECT_EQ(sides, std::vector<uint32_t>({32, 64, 128}));
    // the rounded corners are clear, the rest is painted
    EXPECT_EQ(icon[2] >> 24, 0u);
    EXPECT_GT(opaque, (32 * 32 + 64 * 64 + 128 * 128) * 8 / 10);
}

TEST(Icon, ABrokenIconFileGivesNoIcon) {
    std::string folder = temp_folder();
    struct {
        const char*          name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"size only", icon_bytes({2, 2})},
        {"one pixel short", icon_bytes({2, 2, 1, 2, 3})},
        {"one pixel over", icon_bytes({1, 1, 7, 8})},
        {"second size short", icon_bytes({1, 1, 7, 2, 1, 5})},
        {"no width", icon_bytes({0, 2})},
        {"too tall", icon_bytes({1, ICON_SIDE_MAX + 1})},
        {"width that wraps", icon_bytes({0x80000000u, 2})},
        {"a byte over", {1, 0, 0, 0, 1, 0, 0, 0, 9, 9, 9, 9, 9}},
        {"larger than allowed", std::vector<uint8_t>(ICON_FILE_MAX_BYTES + 4, 0)},
    };
    for (const auto& c : cases) {
        std::string path = folder + "/icon.argb";
        write_binary_file(path, c.bytes);
        testing::internal::CaptureStderr();
        std::vector<uint32_t> icon = read_icon(path.c_str());
        std::string           err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(icon.empty()) << c.name;
        EXPECT_NE(err.find(path), std::string::npos) << c.name;
    }
    // two whole sizes are an icon; a missing file is no icon and nothing to say
    std::string path = folder + "/two.argb";
    write_binary_file(path, icon_bytes({1, 1, 0xff102030u, 2, 1, 1, 2}));
    EXPECT_EQ(read_icon(path.c_str()), std::vector<uint32_t>({1, 1, 0xff102030u, 2, 1, 1, 2}));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(read_icon((folder + "/none.argb").c_str()).empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
