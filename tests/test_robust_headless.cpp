// Bad inputs played without a window, frame by frame: an unusable scale.txt
// keeps the speed at 1 (or at the last good scale), and a lost game in a folder
// the game cannot write plays on without a results file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "app/headless.h"
#include "assets/scale.h"
#include "support.h"

namespace fs = std::filesystem;

// The ship's forward progress over a stretch of frames of plain floor.
static float progress_over(int frames) {
    float from = sim_state().y;
    for (int i = 0; i < frames; i++)
        sim_frame(0);
    return sim_state().y - from;
}

TEST(BadScale, UnusableTextsPlayAtSpeedOne) {
    const char* texts[] = {nullptr, "", "0\n", "-3\n", "nan\n", "1e400\n", "fast please\n", "1e-40\n", "inf\n"};
    for (const char* text : texts) {
        SCOPED_TRACE(text ? "scale.txt holding \"" + std::string(text) + "\"" : "no scale.txt");
        std::string bin = make_play_folder({plain_level()});
        if (text)
            write_text_file(bin + "/scale.txt", text);
        else
            fs::remove(bin + "/scale.txt");
        ASSERT_TRUE(sim_open(bin.c_str()));
        ASSERT_TRUE(sim_start_play());
        progress_over(5);   // the level starts
        float moved = progress_over(20);
        EXPECT_EQ(speed_scale, 1.0f);
        EXPECT_EQ(ship.forward_step, 0.0008f);
        EXPECT_NEAR(moved, 20 * 0.0008f, 1e-6f);
        EXPECT_FALSE(sim_ended());
        sim_close();
    }
}

TEST(BadScale, SpoiledWhilePlayingKeepsTheLastGoodScale) {
    std::string bin = make_play_folder({plain_level()}, "2");
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(sim_start_play());
    progress_over(5);
    EXPECT_NEAR(progress_over(10), 10 * 0.0004f, 1e-6f);
    for (const char* text : {"0", "-3", "nan", "1e400", "words", ""}) {
        SCOPED_TRACE(text);
        write_text_file(bin + "/scale.txt", text);
        EXPECT_NEAR(progress_over(10), 10 * 0.0004f, 1e-6f);
        EXPECT_EQ(speed_scale, 2.0f);
    }
    fs::remove(bin + "/scale.txt");
    EXPECT_NEAR(progress_over(10), 10 * 0.0004f, 1e-6f);
    sim_close();
}

TEST(UnwritableFolder, LostGamePlaysOnWithoutResults) {
    std::vector<level_edit> gap;
    for (int r = 1; r <= 20; r++)
        gap.push_back({r, "......."});
    std::string bin = make_play_folder({plain_level(gap)});
    chmod(bin.c_str(), 0555);
    bool root_writes = access(bin.c_str(), W_OK) == 0 && geteuid() == 0;
    if (root_writes) {
        // permissions do not bind root: a folder in the way of the results
        // file's temporary makes every write fail alike
        chmod(bin.c_str(), 0755);
        fs::create_directory(bin + "/player.s.tmp");
    }
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(sim_start_play());
    for (int i = 0; i < 20000 && sim_state().lives > 0; i++)
        sim_frame(0);
    ASSERT_EQ(sim_state().lives, 0) << "the game was not lost";
    // every one of these frames tries to write player.s
    for (int i = 0; i < 100; i++)
        EXPECT_TRUE(sim_frame(0));
    EXPECT_EQ(results.records[0].level, 1);
    EXPECT_EQ(results.records[0].lives, 0);
    EXPECT_FALSE(fs::exists(bin + "/player.s"));
    EXPECT_TRUE(sim_frame(HOLD_ESC) == false && sim_exit_status() == 0);
    sim_close();
    chmod(bin.c_str(), 0755);
}
