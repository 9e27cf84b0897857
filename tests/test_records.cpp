// The best records: what a finished level or game beats, the file's text both ways,
// and a file that cannot be used set aside whole instead of read or written over.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "records/records.h"
#include "support.h"

namespace fs = std::filesystem;

static const std::string LEVEL_A = "0123456789abcdef", LEVEL_B = "fedcba9876543210";
static const std::string GAME_A = std::string(80, 'a'), GAME_B = std::string(80, 'b');

// Finishes played one after another; each row gives the new bests (t, s, l) and the bests kept after it.
TEST(Records, ALevelsBestsAreStrictlyBetterResultsAndAChangedLevelStartsFresh) {
    struct {
        const char* what;
        std::string hash;
        int32_t     time, stars, lives;
        const char *replay, *news, *kept;
    } cases[] = {
        {"first", LEVEL_A, 60000, 10, 3, "r1", "tsl", "time 60000 r1 stars 10 r1 lives 3 r1"},
        {"faster", LEVEL_A, 59000, 9, 2, "r2", "t", "time 59000 r2 stars 10 r1 lives 3 r1"},
        {"ties", LEVEL_A, 59000, 10, 3, "r3", "", "time 59000 r2 stars 10 r1 lives 3 r1"},
        {"worse", LEVEL_A, 70000, 5, 1, "r4", "", "time 59000 r2 stars 10 r1 lives 3 r1"},
        {"more stars, lives", LEVEL_A, 65000, 12, 4, "r5", "sl", "time 59000 r2 stars 12 r5 lives 4 r5"},
        {"changed level", LEVEL_B, 90000, 1, 0, "r6", "tsl", "time 90000 r6 stars 1 r6 lives 0 r6"},
        {"unusable replay name", LEVEL_B, 80000, 1, 0, "a/b", "t", "time 80000 - stars 1 r6 lives 0 r6"},
    };
    records_t records;
    for (const auto& c : cases) {
        level_news_t news = records_level_finished(&records, c.hash, c.time, c.stars, c.lives, c.replay);
        EXPECT_EQ(std::string(news.time ? "t" : "") + (news.stars ? "s" : "") + (news.lives ? "l" : ""), c.news)
            << c.what;
        const level_best_t* kept = records_level(records, c.hash);
        ASSERT_NE(kept, nullptr) << c.what;
        EXPECT_EQ(records_to_text({{*kept}, {}, {}}), "quovix records 1\nlevel " + c.hash + " " + c.kept + "\n")
            << c.what;
    }
    EXPECT_EQ(records_level(records, LEVEL_A)->stars, 12);
    EXPECT_FALSE(records_level_finished(&records, "not a hash", 1, 1, 1, "r").time);
    EXPECT_EQ(records.levels.size(), 2u);
}

TEST(Records, AGamesBestIsMorePointsOnTheSameLevels) {
    struct {
        std::string hashes;
        int32_t     points;
        bool        news;
        int32_t     kept;
    } cases[] = {
        {GAME_A, 500, true, 500}, {GAME_A, 600, true, 600}, {GAME_A, 600, false, 600},
        {GAME_A, 10, false, 600}, {GAME_B, 10, true, 10},   {LEVEL_A, 900, false, -1},
    };
    records_t records;
    for (const auto& c : cases) {
        EXPECT_EQ(records_game_finished(&records, c.hashes, c.points, "g"), c.news) << c.hashes << " " << c.points;
        int32_t kept = -1;
        for (const game_best_t& g : records.games)
            kept = g.hashes == c.hashes ? g.points : kept;
        EXPECT_EQ(kept, c.kept) << c.hashes << " " << c.points;
    }
}

TEST(Records, TextReadsBackAsWritten) {
    std::string text = "quovix records 1\n";
    text += "level " + LEVEL_A + " time 61250 a.replay stars 14 b.replay lives 3 c.replay\n";
    text += "level " + LEVEL_B + " time -1 - stars 0 - lives -1 -\n";
    text += "game " + GAME_A + " points 9120 g.replay\n";
    records_t   records;
    std::string why;
    ASSERT_TRUE(records_from_text(text, &records, &why)) << why;
    ASSERT_EQ(records.levels.size(), 2u);
    EXPECT_EQ(records.levels[0].stars_replay, "b.replay");
    EXPECT_EQ(records.games.at(0).points, 9120);
    EXPECT_EQ(records_to_text(records), text);
}

// Each row in turn at the same path: the earlier files set aside stay, each under a name of its own.
TEST(Records, AFileThatCannotBeUsedIsSetAsideAndTheRecordsStartEmpty) {
    const std::string good = "quovix records 1\nlevel " + LEVEL_A + " time 1 - stars 1 - lives 1 -\n";
    struct {
        const char* what;
        std::string text;   // "" with what "fifo" or "folder" for those
        std::string said;
    } cases[] = {
        {"truncated line", good + "level " + LEVEL_B + " time 1", "line 3: ends before the line does"},
        {"line that does not parse", "quovix records 1\nlevel " + LEVEL_A + " time soon\n", "line 2: not \"level"},
        {"future version", "quovix records 3\n", "line 1: records version 3 is newer"},
        {"world line without five hashes", "quovix records 2\nworld " + LEVEL_A + " finished\n",
         "line 2: not \"world HASHES finished\""},
        {"over 1 MiB", good + std::string(RECORDS_FILE_MAX_BYTES, '\n'), "is larger than 1048576 bytes"},
        {"replay with a slash", "quovix records 1\ngame " + GAME_A + " points 5 ../up\n", "line 2: not \"game"},
        {"same level twice", good + good.substr(17), "line 3: level " + LEVEL_A + " is listed twice"},
        {"empty", "", "line 1: the file is empty"},
        {"fifo", "", "is not a regular file"},
        {"folder", "", "is not a regular file"},
    };
    std::string dir = temp_folder(), path = dir + "/records.txt";
    int         set_aside = 0;
    for (const auto& c : cases) {
        std::string what = c.what;
        if (what == "folder")
            fs::create_directory(path);
#ifndef _WIN32
        else if (what == "fifo")
            mkfifo(path.c_str(), 0600);
#else
        else if (what == "fifo")
            continue;
#endif
        else
            write_text_file(path, c.text);
        testing::internal::CaptureStderr();
        records_t                records = records_load(path.c_str());
        std::vector<std::string> said = lines_of(testing::internal::GetCapturedStderr());
        std::string              aside = path + ".damaged" + (set_aside ? "-" + std::to_string(set_aside + 1) : "");
        set_aside++;
        EXPECT_TRUE(records.levels.empty() && records.games.empty()) << what;
        ASSERT_EQ(said.size(), 1u) << what;
        EXPECT_EQ(said[0].rfind(path + ": ", 0), 0u) << said[0];
        EXPECT_NE(said[0].find(c.said), std::string::npos) << said[0];
        EXPECT_NE(said[0].find(aside), std::string::npos) << said[0];
        EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << what;
        if (!c.text.empty()) {
            EXPECT_EQ(read_text_file(aside), c.text) << what;
        }
    }
    EXPECT_EQ(read_text_file(path + ".damaged"), cases[0].text);
}

TEST(Records, AMissingFileIsEmptyRecordsSaidNothingAndSavedReadsBack) {
    std::string path = temp_folder() + "/records.txt", why;
    testing::internal::CaptureStderr();
    records_t records = records_load(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(records.levels.empty() && records.games.empty());
    records_level_finished(&records, LEVEL_A, 5000, 2, 1, "a.replay");
    records_game_finished(&records, GAME_A, 70, "a.replay");
    ASSERT_TRUE(records_save(path.c_str(), records, &why)) << why;
    EXPECT_EQ(records_to_text(records_load(path.c_str())), records_to_text(records));
    records.levels[0].hash = "not hex";
    EXPECT_FALSE(records_save(path.c_str(), records, &why));
    EXPECT_EQ(why.rfind("the records would not read back: line 2:", 0), 0u) << why;
}

#ifndef _WIN32
TEST(Records, ARecordsFileThatIsALinkIsNotWrittenThrough) {
    std::string dir = temp_folder(), path = dir + "/records.txt", why;
    write_text_file(dir + "/other", "keep");
    fs::create_symlink(dir + "/other", path);
    records_t records;
    records_game_finished(&records, GAME_A, 70, "a.replay");
    ASSERT_TRUE(records_save(path.c_str(), records, &why)) << why;
    EXPECT_EQ(read_text_file(dir + "/other"), "keep");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
}
#endif

// A world finished is kept once, reads back, and moves the file to version 2; a file with none
// stays version 1, as games before worlds write and read it.
TEST(Records, AWorldFinishedIsKeptOnceAndAFileWithoutOneStaysVersionOne) {
    records_t records;
    records_game_finished(&records, GAME_A, 500, "r1");
    std::string old = records_to_text(records);
    EXPECT_EQ(old, "quovix records 1\ngame " + GAME_A + " points 500 r1\n");
    records_world_finished(&records, GAME_B);
    records_world_finished(&records, GAME_B);
    records_world_finished(&records, LEVEL_A);
    EXPECT_TRUE(records_world_done(records, GAME_B));
    EXPECT_FALSE(records_world_done(records, GAME_A));
    std::string text = records_to_text(records), why;
    EXPECT_EQ(text, "quovix records 2\ngame " + GAME_A + " points 500 r1\nworld " + GAME_B + " finished\n");
    records_t back;
    ASSERT_TRUE(records_from_text(text, &back, &why)) << why;
    EXPECT_EQ(records_to_text(back), text);
    ASSERT_TRUE(records_from_text(old, &back, &why)) << why;
    EXPECT_TRUE(back.worlds_finished.empty());
    EXPECT_FALSE(records_from_text(text + "world " + GAME_B + " finished\n", &back, &why));
    EXPECT_NE(why.find("is listed twice"), std::string::npos) << why;
}
