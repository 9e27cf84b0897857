#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "app/headless.h"
#include "app/keys.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/input.h"
#include "game/motion.h"
#include "render/levelmap.h"
#include "support.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool starts_with(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

std::vector<int> listed() { return std::vector<int>(action_list.begin(), action_list.end()); }

const char* const size_line = "Bitmap size: 7,240 (line length:24, size:5760 (5040))";

struct Startup : testing::Test {
    void TearDown() override {
        sim_close();
        reset_game_state();
    }
};

}  // namespace

TEST_F(Startup, ProgramStartQueuesTheMenuAndPrintsVersionThenSize) {
    std::string bin = make_play_folder({plain_level()});
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str()));
    std::vector<std::string> out = lines_of(testing::internal::GetCapturedStdout());
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(starts_with(out[0], "OpenGL version: "));
    EXPECT_EQ(out[1], size_line);
    EXPECT_EQ(listed(), std::vector<int>{15});
    for (uint32_t list : {assets.ship_list, assets.ship_left_list, assets.ship_right_list, assets.star_list,
                          assets.heart_list})
        EXPECT_TRUE(list != 0 && list != (uint32_t)-1);
    for (uint32_t tex : {assets.background_tex, assets.gameover_tex, assets.playgame_tex, assets.exitgame_tex})
        EXPECT_NE(tex, 0u);
    EXPECT_STREQ(assets.picture_folder, "../resources/1366x768/");
    EXPECT_EQ(ship.heading, 90.0f);
}

TEST_F(Startup, StartOfPlayPutsEverythingBackButLivesAndLevel) {
    std::string bin = make_play_folder({plain_level({{10, ".##*##."}})});
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str()));
    testing::internal::GetCapturedStdout();
    for (int i = 0; i < 20; i++)
        ASSERT_TRUE(sim_frame(0));
    // a taken star and leftovers of the menu
    int star = tile_lookup(3.5f / 240, 10.5f / 240, nullptr);
    ASSERT_EQ(tile_kind_at(star), TILE_STAR);
    set_tile_floor(star);
    ship.pos[0] = 0.02f;
    ship.prev_pos[1] = 0.5f;
    ship.heading = 45;
    flow.stars_collected = 7;
    flow.lives = 3;

    clear_keys();
    key_table[KEY_ENTER] = 1;
    key_table['Q'] = 1;
    key_table[200] = 1;
    testing::internal::CaptureStdout();
    input_step();
    std::vector<std::string> out = lines_of(testing::internal::GetCapturedStdout());

    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(starts_with(out[0], "OpenGL version: "));
    EXPECT_EQ(out[1], size_line);
    EXPECT_EQ(flow.game_started, 1);
    EXPECT_EQ(flow.stars_collected, 0);
    EXPECT_EQ(flow.lives, 3);
    EXPECT_EQ(flow.current_level, 1);
    const float spawn[3] = {0.01175f, 0.00175f, 0.00348f};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(ship.pos[i], spawn[i]) << i;
        EXPECT_EQ(ship.prev_pos[i], spawn[i]) << i;
        EXPECT_EQ(ship.spawn[i], spawn[i]) << i;
    }
    EXPECT_EQ(ship.heading, 90.0f);
    for (int k = 0; k < 256; k++)
        EXPECT_EQ(key_table[k], 0) << k;
    EXPECT_EQ(tile_kind_at(star), TILE_STAR);
    EXPECT_EQ(listed(), (std::vector<int>{1, 4, 12, 14, 5, 0, 6, 9}));
}

TEST_F(Startup, MissingStarModelIsReportedOnceOnEachRun) {
    std::string bin = make_play_folder({plain_level()});
    ASSERT_EQ(remove((bin + "/../resources/star.obj").c_str()), 0);
    for (int run = 0; run < 2; run++) {
        testing::internal::CaptureStdout();
        if (run == 0)
            ASSERT_TRUE(sim_open(bin.c_str()));
        else
            ASSERT_TRUE(sim_start_play());
        std::vector<std::string> out = lines_of(testing::internal::GetCapturedStdout());
        ASSERT_EQ(out.size(), 3u) << run;
        EXPECT_EQ(out[0], "Error: Cannot read model file \"../resources/star.obj\".") << run;
        EXPECT_TRUE(starts_with(out[1], "OpenGL version: ")) << run;
        EXPECT_EQ(out[2], size_line) << run;
        EXPECT_EQ(assets.star_list, (uint32_t)-1) << run;
        EXPECT_NE(assets.heart_list, (uint32_t)-1) << run;
        EXPECT_NE(assets.heart_list, 0u) << run;
    }
    // the game runs on with invisible stars
    for (int i = 0; i < 10; i++)
        ASSERT_TRUE(sim_frame(0));
}

TEST_F(Startup, PicturesComeFromTheFolderOfTheScreenSize) {
    // 1366 wide but not 768 high: no set, and no other set is tried
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str(), 1366, 1024));
    EXPECT_EQ(lines_of(testing::internal::GetCapturedStdout()).size(), 2u);
    for (uint32_t tex : {assets.background_tex, assets.gameover_tex, assets.playgame_tex, assets.exitgame_tex})
        EXPECT_EQ(tex, 0u);
    EXPECT_STREQ(assets.picture_folder, "");

    char buf[64];
    EXPECT_STREQ(resource_folder(1366, 768, buf, sizeof(buf)), "../resources/1366x768/");
    EXPECT_STREQ(resource_folder(2560, 1080, buf, sizeof(buf)), "../resources/2560x1080/");
    EXPECT_STREQ(resource_folder(1920, 1200, buf, sizeof(buf)), "../resources/1920x1200/");
    EXPECT_EQ(resource_folder(1366, 1024, buf, sizeof(buf)), nullptr);
    EXPECT_EQ(resource_folder(2560, 1200, buf, sizeof(buf)), nullptr);
    EXPECT_EQ(resource_folder(800, 600, buf, sizeof(buf)), nullptr);
    ASSERT_EQ(mkdir("../resources/800x600", 0700), 0);
    EXPECT_STREQ(resource_folder(800, 600, buf, sizeof(buf)), "../resources/800x600/");
    // a plain file of that name is no set
    write_text_file("../resources/1024x768", "");
    EXPECT_EQ(resource_folder(1024, 768, buf, sizeof(buf)), nullptr);

    // a missing picture is silent and named 0, on either run
    sim_close();
    std::string bin = make_play_folder({plain_level()});
    ASSERT_EQ(remove((bin + "/../resources/1366x768/gameover.bmp").c_str()), 0);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str()));
    EXPECT_EQ(assets.gameover_tex, 0u);
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(lines_of(testing::internal::GetCapturedStdout()).size(), 4u);
    EXPECT_EQ(assets.gameover_tex, 0u);
    EXPECT_NE(assets.background_tex, 0u);
    EXPECT_NE(assets.exitgame_tex, 0u);
}
