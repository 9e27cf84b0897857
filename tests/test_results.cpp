// The results file player.s: five lines in level order, replaced whole, failures silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "app/headless.h"
#include "results/results.h"
#include "support.h"

static const std::string zero_lines = "0 0 0 0\n0 0 0 0\n0 0 0 0\n0 0 0 0\n";

// No temporary is left beside the results file, whatever became of the write.
static bool nothing_but_results_file() {
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.path().filename() != "player.s")
            return false;
    return true;
}

using ResultsWrite = InFreshFolder;

TEST_F(ResultsWrite, FiveLinesInLevelOrderReplaceAnEarlierFile) {
    write_text_file("player.s", "an older and much longer file\nwith lines\nthat must all go\n\n\n\n\n");
    fill_record(&game.results, 1, 2, 300, 0);
    write_results(game.results);
    EXPECT_EQ(read_text_file("player.s"), "1 2 300 0\n" + zero_lines);
    fill_record(&game.results, 1, 12, 61234, 5);
    fill_record(&game.results, 3, 0, 45000, 4);
    fill_record(&game.results, 2, 3, 20511, 5);
    fill_record(&game.results, 5, 7, 99999, 2);
    fill_record(&game.results, 4, 1, 1, 3);
    write_results(game.results);
    EXPECT_EQ(read_text_file("player.s"), "1 12 61234 5\n2 3 20511 5\n3 0 45000 4\n4 1 1 3\n5 7 99999 2\n");
    EXPECT_TRUE(nothing_but_results_file());
}

TEST_F(ResultsWrite, TimeKeepsTheLow32BitsAndIsWrittenSigned) {
    fill_record(&game.results, 1, 0, ((int64_t)1 << 32) + 1234, 3);
    fill_record(&game.results, 2, 0, 3000000000LL, 1);
    write_results(game.results);
    EXPECT_EQ(read_text_file("player.s"), "1 0 1234 3\n2 0 -1294967296 1\n" + zero_lines.substr(8));
}

TEST_F(ResultsWrite, UnwritableFolderChangesNothingAndSaysNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "chmod cannot take the right to write into a folder away on Windows";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    write_text_file("player.s", "kept\n");
    ASSERT_EQ(chmod(dir.c_str(), 0500), 0);
    fill_record(&game.results, 1, 1, 1, 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    write_results(game.results);
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(read_text_file("player.s"), "kept\n");
    EXPECT_TRUE(nothing_but_results_file());
#endif
}

TEST_F(ResultsWrite, FailedWritesAreSilentAndTheNextGoodWriteWorks) {
    // a folder in the way of the file stops the write even for root
    ASSERT_EQ(mkdir("player.s", 0700), 0);
    fill_record(&game.results, 1, 5, 500, 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    write_results(game.results);
    write_results(game.results);
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(nothing_but_results_file());
    ASSERT_EQ(rmdir("player.s"), 0);
    write_results(game.results);
    EXPECT_EQ(read_text_file("player.s"), "1 5 500 0\n" + zero_lines);
}

// Temporaries an earlier write left as links to another file: the write makes a
// fresh name of its own, so the linked file is never opened or truncated.
TEST_F(ResultsWrite, ATemporaryLeftAsALinkIsNotFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets only an administrator make a symbolic link";
#else
    write_text_file("other", "another file\n");
    const char* left_overs[] = {"player.s.tmp", "player.s.000000", "player.s.ffffff", "player.s.abcdef"};
    for (const char* name : left_overs)
        ASSERT_EQ(symlink("other", name), 0) << name;
    fill_record(&game.results, 2, 4, 800, 5);
    for (int i = 0; i < 50; i++)
        write_results(game.results);
    EXPECT_EQ(read_text_file("other"), "another file\n");
    EXPECT_EQ(read_text_file("player.s"), "0 0 0 0\n2 4 800 5\n" + zero_lines.substr(8));
    struct stat st;
    for (const char* name : left_overs) {
        ASSERT_EQ(lstat(name, &st), 0) << name;
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << name;
    }
    ASSERT_EQ(lstat("player.s", &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
#endif
}
