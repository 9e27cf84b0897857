// Levels made from a seed: the same bytes for the same arguments on every machine
// (this suite runs under Wine too), each finishing by the flight it was made with,
// played again in a game of its own; and the arguments the tool refuses.
#include <gtest/gtest.h>

#include "app/headless.h"
#include "app/recorder.h"
#include "assets/bmp.h"
#include "assets/recording.h"
#include "game/tuning.h"
#include "levelgen/levelgen.h"
#include "replay.h"
#include "support.h"

static std::string plain_road(int width, int height) {
    std::string text;
    int         spawn = (int)(SPAWN_POINT[0] * height);
    for (int line = 0; line < height; line++) {
        std::string row(width, '.');
        row[spawn] = line < 8 ? 'F' : '#';
        text += row + "\n";
    }
    return text;
}

// The generator flies its drafts in a runner with play started, as the tool opens it.
static levelgen_t generated(uint64_t seed, int difficulty, int width, int height, levelgen_idea_t idea) {
    levelgen_t  level;
    std::string why, bin = replay_play_folder(level_bmp(plain_road(width, height)), &why);
    EXPECT_TRUE(!bin.empty() && replay_start(bin, &why)) << why;
    recorder_set_on(false);
    levelgen_make(seed, difficulty, width, height, idea, &level);
    recorder_set_on(true);
    sim_close();
    return level;
}

// Played from a fresh start on the level's own picture, as quovix-solve --play plays it.
static replay_outcome_t played_again(const levelgen_t& level) {
    std::string why, bin = replay_play_folder(level_to_bmp(level.grid), &why);
    EXPECT_TRUE(!bin.empty() && replay_start(bin, &why)) << why;
    replay_outcome_t out = replay_play(level.frames);
    sim_close();
    return out;
}

static std::string bytes_hash(const levelgen_t& level, uint64_t seed, int difficulty) {
    std::vector<uint8_t> bmp = level_to_bmp(level.grid);
    return content_hash(std::string(bmp.begin(), bmp.end()) + levelgen_replay_text(level, "x", seed, difficulty));
}

// Pinned from a Linux build: the Windows build runs this suite under Wine and must match.
TEST(LevelsFromASeed, AreTheSameBytesForASeedOnEveryMachine) {
    struct {
        uint64_t        seed;
        int             difficulty, width, height;
        levelgen_idea_t idea;
        const char*     hash;
    } pinned[] = {
        {0, 1, 7, 240, IDEA_MIXED, "78c273259c32ab38"},
        {18446744073709551615ull, 10, 7, 240, IDEA_MIXED, "8e178f70ec77a4b5"},
        {42, 5, 11, 360, IDEA_WALL_STAIRS, "e5298eaf0fd84792"},
        {7, 8, 7, 240, IDEA_LONG_JUMPS, "67db13657046824e"},
        {1234567, 3, 14, 480, IDEA_STAR_TRAILS, "d4a267b837369305"},
    };
    for (const auto& p : pinned) {
        levelgen_t level = generated(p.seed, p.difficulty, p.width, p.height, p.idea);
        EXPECT_EQ(bytes_hash(level, p.seed, p.difficulty), p.hash) << p.seed;
        // and again in the same process: nothing carried from one call to the next
        EXPECT_EQ(bytes_hash(generated(p.seed, p.difficulty, p.width, p.height, p.idea), p.seed, p.difficulty),
                  bytes_hash(level, p.seed, p.difficulty));
    }
    EXPECT_NE(bytes_hash(generated(1, 5, 7, 240, IDEA_MIXED), 1, 5),
              bytes_hash(generated(2, 5, 7, 240, IDEA_MIXED), 2, 5));
}

// Every level made finishes with every life by its own flight, played again from a
// fresh start; the plain road a maker falls back on is not needed for any of them.
TEST(LevelsFromASeed, TwoHundredSeedsAcrossDifficultiesAndSizesAllFinish) {
    struct {
        int width, height;
    } sizes[] = {{7, 240}, {7, 240}, {9, 300}, {11, 360}, {14, 480}, {5, 86}, {128, 256}};
    int fallbacks = 0, kinds_seen[6] = {};
    for (int i = 0; i < 200; i++) {
        uint64_t        seed = 1000003ull * (uint64_t)i + 17;
        int             difficulty = LEVELGEN_DIFFICULTY_MIN + i % LEVELGEN_DIFFICULTY_MAX;
        levelgen_idea_t idea = (levelgen_idea_t)(i % IDEA_COUNT);
        int             w = sizes[i % 7].width, h = sizes[i % 7].height;
        levelgen_t      level = generated(seed, difficulty, w, h, idea);
        ASSERT_EQ(level.grid.width, w);
        ASSERT_EQ(level.grid.height, h);
        fallbacks += level.drafts > LEVELGEN_DRAFTS;
        EXPECT_TRUE(level.proven) << "seed " << seed;
        replay_outcome_t out = played_again(level);
        EXPECT_TRUE(out.finished) << "seed " << seed << ", difficulty " << difficulty;
        EXPECT_EQ(out.finish_frame, (int)level.frames.size()) << "seed " << seed;
        EXPECT_EQ(out.lives_lost, 0) << "seed " << seed;
        // the spawn tile carries the ship, and a ship off the map finds a gap at the first tile
        std::string text = level_to_text(level.grid);
        EXPECT_NE(text[text.size() - (size_t)w - 1 + (size_t)(SPAWN_POINT[0] * h)], '.') << "seed " << seed;
        EXPECT_EQ(text[text.size() - (size_t)w - 1], '.') << "seed " << seed;
        for (char c : text)
            for (int k = 0; k < 6; k++)
                kinds_seen[k] += c == ".#FW*H"[k];
    }
    EXPECT_EQ(fallbacks, 0);
    for (int k = 0; k < 6; k++)
        EXPECT_GT(kinds_seen[k], 0) << ".#FW*H"[k];
}

TEST(LevelsFromASeed, RisingDifficultyAsksForMoreJumpsWithNarrowerGaps) {
    // the gap a jump must clear widens as its window narrows; gentle levels have fewer
    auto jumps = [](const levelgen_t& l) {
        int presses = 0;
        for (size_t f = 0; f < l.frames.size(); f++)
            presses += (l.frames[f] & HOLD_SPACE) && (f == 0 || !(l.frames[f - 1] & HOLD_SPACE));
        return presses;
    };
    int gentle = 0, hard = 0;
    for (uint64_t seed = 1; seed <= 6; seed++) {
        gentle += jumps(generated(seed, 1, 7, 240, IDEA_LONG_JUMPS));
        hard += jumps(generated(seed, 10, 7, 240, IDEA_LONG_JUMPS));
    }
    EXPECT_GT(hard, gentle);
}

struct tool_said_t {
    int         status;
    std::string said;
};

static tool_said_t generate_tool(const std::string& args) {
    std::string dir = temp_folder(), out = dir + "/said.txt";
    // the program's path unquoted: cmd would take the first and last quotes off the line
    std::string command = std::string(QUOVIX_TOOLS_DIR) + "/quovix-level generate " + args + " > \"" + out + "\" 2>&1";
    int         status = system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_text_file(out)};
}

TEST(LevelsFromASeed, TheToolWritesTheLevelAndItsReplayAndRefusesBadArguments) {
    std::string dir = temp_folder();
    ASSERT_EQ(generate_tool("--seed 9 --difficulty 4 --idea wall-stairs " + dir + "/a.txt").status, 0);
    ASSERT_EQ(generate_tool("--difficulty 4 --seed 9 --idea wall-stairs " + dir + "/b.bmp").status, 0);
    levelgen_t level = generated(9, 4, 7, 240, IDEA_WALL_STAIRS);
    EXPECT_EQ(read_text_file(dir + "/a.txt"), level_to_text(level.grid));
    std::vector<uint8_t> bmp = level_to_bmp(level.grid);
    EXPECT_EQ(read_text_file(dir + "/b.bmp"), std::string(bmp.begin(), bmp.end()));
    EXPECT_EQ(read_text_file(dir + "/a.replay"), levelgen_replay_text(level, "a.txt", 9, 4));
    EXPECT_NE(read_text_file(dir + "/b.replay").find("seed 9, difficulty 4"), std::string::npos);
    struct {
        std::string args, says;
    } refused[] = {
        {"--seed abc --difficulty 3 x.txt", "--seed takes a whole number from 0 to 18446744073709551615, not \"abc\""},
        {"--seed -1 --difficulty 3 x.txt", "not \"-1\""},
        {"--seed +5 --difficulty 3 x.txt", "not \"+5\""},
        {"--seed 18446744073709551616 --difficulty 3 x.txt", "not \"18446744073709551616\""},
        {"--seed 99999999999999999999999 --difficulty 3 x.txt", "not \"99999999999999999999999\""},
        {"--seed \"\" --difficulty 3 x.txt", "not \"\""},
        {"--seed 1 --difficulty 11 x.txt", "--difficulty takes a whole number from 1 to 10, not \"11\""},
        {"--seed 1 --difficulty 0 x.txt", "not \"0\""},
        {"--seed 1 --difficulty 3 --size 7 x.txt", "--size takes WIDTHxHEIGHT, not \"7\""},
        {"--seed 1 --difficulty 3 --size 7x600 x.txt", "--size 7x600: at 600 rows the ship starts in column 7"},
        {"--seed 1 --difficulty 3 --size 200x200 x.txt", "more than the 32768 tiles"},
        {"--seed 1 --difficulty 3 --size 7x85 x.txt",
         "--size 7x85: a level needs at least 86 rows, to start the ship past column 0"},
        {"--seed 1 --difficulty 3 --idea calm x.txt", "--idea takes one of mixed, long-jumps"},
        {"--seed 1 --difficulty 3 x.replay", "x.replay: the level and its replay would be one file"},
    };
    for (const auto& r : refused) {
        tool_said_t t = generate_tool(r.args);
        EXPECT_EQ(t.status, 2) << r.args;
        EXPECT_NE(t.said.find(r.says), std::string::npos) << r.args << "\n" << t.said;
        EXPECT_EQ(lines_of(t.said).size(), 1u) << r.args << "\n" << t.said;
    }
    // a call given wrong is shown how to call it
    for (std::string args : {"", "--seed 1 x.txt", "--seed 1 --difficulty 2", "--seed 1 --difficulty 2 a b"}) {
        tool_said_t t = generate_tool(args);
        EXPECT_EQ(t.status, 2) << args;
        EXPECT_NE(t.said.find("usage:"), std::string::npos) << args;
    }
    EXPECT_FALSE(file_exists("x.txt"));
}
