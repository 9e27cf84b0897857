#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "app/headless.h"
#include "results/results.h"
#include "support.h"

namespace {

// Each case writes "player.s" into a fresh folder of its own.
struct ResultsWrite : testing::Test {
    char home[4096] = {};
    std::string dir;
    void SetUp() override {
        reset_game_state();
        ASSERT_TRUE(getcwd(home, sizeof(home)));
        dir = temp_folder();
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        chmod(dir.c_str(), 0700);
        EXPECT_EQ(chdir(home), 0);
        reset_game_state();
    }
};

bool exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

const char* const zero_lines = "0 0 0 0\n0 0 0 0\n0 0 0 0\n0 0 0 0\n";

}  // namespace

TEST_F(ResultsWrite, WonGameWritesFiveLinesInLevelOrder) {
    fill_record(1, 12, 61234, 5);
    fill_record(3, 0, 45000, 4);
    fill_record(2, 3, 20511, 5);
    fill_record(5, 7, 99999, 2);
    fill_record(4, 1, 1, 3);
    write_results();
    EXPECT_EQ(read_text_file("player.s"),
              "1 12 61234 5\n2 3 20511 5\n3 0 45000 4\n4 1 1 3\n5 7 99999 2\n");
    EXPECT_FALSE(exists("player.s.tmp"));
}

TEST_F(ResultsWrite, LostGameReplacesAnEarlierFile) {
    write_text_file("player.s", "an older and much longer file\nwith lines\nthat must all go\n\n\n\n\n");
    fill_record(1, 2, 300, 0);
    write_results();
    EXPECT_EQ(read_text_file("player.s"), std::string("1 2 300 0\n") + zero_lines);
}

TEST_F(ResultsWrite, TimeKeepsTheLow32BitsAndIsWrittenSigned) {
    fill_record(1, 0, ((int64_t)1 << 32) + 1234, 3);
    fill_record(2, 0, 3000000000LL, 1);
    EXPECT_EQ(results.records[0].time, 1234);
    write_results();
    EXPECT_EQ(read_text_file("player.s"), "1 0 1234 3\n2 0 -1294967296 1\n0 0 0 0\n0 0 0 0\n0 0 0 0\n");
}

TEST_F(ResultsWrite, UnwritableFolderChangesNothingAndSaysNothing) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    write_text_file("player.s", "kept\n");
    ASSERT_EQ(chmod(dir.c_str(), 0500), 0);
    fill_record(1, 1, 1, 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    write_results();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(read_text_file("player.s"), "kept\n");
    EXPECT_FALSE(exists("player.s.tmp"));
}

TEST_F(ResultsWrite, FailedWritesAreSilentAndTheNextGoodWriteWorks) {
    // a folder in the way of the file stops the write even for root
    ASSERT_EQ(mkdir("player.s", 0700), 0);
    fill_record(1, 5, 500, 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    write_results();
    write_results();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(exists("player.s.tmp"));
    ASSERT_EQ(rmdir("player.s"), 0);
    write_results();
    EXPECT_EQ(read_text_file("player.s"), std::string("1 5 500 0\n") + zero_lines);
}

TEST(ResultsTotals, SumAllFiveRecordsOntoTheTotals) {
    reset_game_state();
    fill_record(1, 12, 61234, 5);
    fill_record(2, 3, 20511, 0);
    sum_results();
    EXPECT_EQ(results.total_stars, 15);
    EXPECT_EQ(results.total_time, 81745);
    // every call adds again; the input step guards against a second one
    sum_results();
    EXPECT_EQ(results.total_stars, 30);
    EXPECT_EQ(results.total_time, 163490);
    reset_game_state();
}

TEST(ResultsInPlay, LostGameIsWrittenEveryFrameAndSummedOnce) {
    std::string bin = make_play_folder({plain_level()});
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(sim_start_play());
    for (int i = 0; i < 10; i++)
        sim_frame(0);
    fill_record(1, 0, 0, 0);
    flow.stars_collected = 2;
    flow.lives = 0;
    sim_frame(0);
    std::string first = read_text_file("player.s");
    int32_t stars = results.total_stars, time = results.total_time;
    EXPECT_EQ(stars, 2);
    EXPECT_GT(time, 0);
    EXPECT_EQ(first, "1 2 " + std::to_string(time) + " 0\n" + zero_lines);
    for (int i = 0; i < 20; i++)
        sim_frame(0);
    EXPECT_EQ(read_text_file("player.s"), first);
    EXPECT_EQ(results.total_stars, stars);
    EXPECT_EQ(results.total_time, time);
    sim_close();
}
