// The shipped levels: each passes the level check, and its replay, played
// through the game's own frames, reaches the finish without losing a life.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/headless.h"
#include "replay.h"
#include "support.h"

static const char* const level_names[5] = {"levelone", "leveltwo", "levelthree", "levelfour", "levelfive"};

static std::string level_source(int i) {
    return read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/" + level_names[i] + ".txt");
}

static std::vector<unsigned> level_replay(int i) {
    std::string path = std::string(QUOVIX_SOURCE_DIR) + "/data/levels/" + level_names[i] + ".replay";
    std::vector<unsigned> frames;
    std::string why;
    EXPECT_TRUE(replay_from_text(read_text_file(path), &frames, &why)) << path << ": " << why;
    return frames;
}

// Plays a replay on a game whose five levels are all the given one.
static replay_outcome_t play_replay(const std::string& level_text, const std::vector<unsigned>& frames) {
    std::string bin = make_play_folder({level_text});
    replay_outcome_t out = {false, -1, 0, 0, 0};
    if (!sim_open(bin.c_str()) || !sim_start_play()) {
        ADD_FAILURE() << "play did not start";
        sim_close();
        return out;
    }
    out = replay_play(frames);
    sim_close();
    return out;
}

// Rows are counted from the near end; the text's top line is the far end.
static std::string with_rows(const std::string& level_text, int first, int last, const std::string& tiles) {
    std::vector<std::string> lines, rows;
    std::string line;
    for (char c : level_text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    for (const std::string& l : lines)
        if (!l.empty() && l[0] != ';')
            rows.push_back(l);
    for (int r = first; r <= last; r++)
        rows[rows.size() - 1 - (size_t)r] = tiles;
    std::string text;
    for (const std::string& r : rows)
        text += r + "\n";
    return text;
}

class ShippedLevel : public ::testing::TestWithParam<int> {};

TEST_P(ShippedLevel, PassesTheLevelCheck) {
    std::string path = std::string(QUOVIX_SOURCE_DIR) + "/data/levels/" + level_names[GetParam()] + ".txt";
    std::string cmd = std::string(QUOVIX_TOOLS_DIR) + "/quovix-level check " + path + " > /dev/null";
    EXPECT_EQ(system(cmd.c_str()), 0) << cmd;
}

TEST_P(ShippedLevel, FirstPixelIsAGapSoALeavingShipFalls) {
    std::string text = with_rows(level_source(GetParam()), 0, -1, "");
    EXPECT_EQ(text[text.size() - 8], '.');   // first tile of the last line
}

TEST_P(ShippedLevel, ReplayReachesTheFinishWithoutLosingALife) {
    replay_outcome_t out = play_replay(level_source(GetParam()), level_replay(GetParam()));
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.lives_lost, 0);
    EXPECT_GE(out.lives_at_end, 5);
}

TEST_P(ShippedLevel, ReplayFailsWhenGapsCutTheTrackBeforeTheFinish) {
    std::string cut = with_rows(level_source(GetParam()), 200, 227, ".......");
    replay_outcome_t out = play_replay(cut, level_replay(GetParam()));
    EXPECT_FALSE(out.finished && out.lives_lost == 0);
}

TEST_P(ShippedLevel, ReplayFailsWhenTheFinishIsGone) {
    std::string plain = with_rows(level_source(GetParam()), 228, 239, ".#####.");
    replay_outcome_t out = play_replay(plain, level_replay(GetParam()));
    EXPECT_FALSE(out.finished);
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevel, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(level_names[info.param]); });

TEST(Replay, TextRoundTripsRunsOfKeys) {
    std::vector<unsigned> frames = {0, 0, HOLD_A, HOLD_D | HOLD_SPACE, HOLD_D | HOLD_SPACE, HOLD_SPACE};
    std::string text = replay_to_text(frames, "# note\n");
    EXPECT_EQ(text, "# note\n2 -\n1 a\n2 d+space\n1 space\n");
    std::vector<unsigned> back;
    std::string why;
    ASSERT_TRUE(replay_from_text(text, &back, &why)) << why;
    EXPECT_EQ(back, frames);
}

TEST(Replay, RefusesALineThatIsNotARun) {
    std::vector<unsigned> frames;
    std::string why;
    EXPECT_FALSE(replay_from_text("3 d\n2 jump\n", &frames, &why));
    EXPECT_NE(why.find("line 2"), std::string::npos);
    EXPECT_FALSE(replay_from_text("-4 a\n", &frames, &why));
}

TEST(Replay, HoldingNothingOnAPlainLevelFinishes) {
    replay_outcome_t out = play_replay(plain_level(), std::vector<unsigned>(1400, 0));
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.lives_lost, 0);
}

TEST(Replay, HoldingNothingIntoAGapLosesALife) {
    std::string gap = plain_level({{40, "......."}, {41, "......."}});
    replay_outcome_t out = play_replay(gap, std::vector<unsigned>(400, 0));
    EXPECT_FALSE(out.finished);
    EXPECT_GE(out.lives_lost, 1);
}

// The solver finds a way over a gap and a wall on a small search.
TEST(Solver, FindsAWayOverAGapAndAWall) {
    std::string level = plain_level({{30, ".WWWWW."}, {31, ".WWWWW."}, {60, "......."}, {61, "......."},
                                     {62, "......."}});
    std::string dir = temp_folder();
    write_text_file(dir + "/level.txt", level);
    std::string cmd = std::string(QUOVIX_TOOLS_DIR) + "/quovix-solve " + dir + "/level.txt " + dir +
                      "/level.replay --beam 40 > /dev/null 2>&1";
    ASSERT_EQ(system(cmd.c_str()), 0) << cmd;
    std::vector<unsigned> frames;
    std::string why;
    ASSERT_TRUE(replay_from_text(read_text_file(dir + "/level.replay"), &frames, &why)) << why;
    replay_outcome_t out = play_replay(level, frames);
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.lives_lost, 0);
}

TEST(Solver, ReportsALevelWithoutAWay) {
    std::string level = plain_level({{40, "......."}, {41, "......."}, {42, "......."}, {43, "......."},
                                     {44, "......."}, {45, "......."}, {46, "......."}, {47, "......."}});
    std::string dir = temp_folder();
    write_text_file(dir + "/level.txt", level);
    std::string cmd = std::string(QUOVIX_TOOLS_DIR) + "/quovix-solve " + dir + "/level.txt " + dir +
                      "/level.replay --beam 20 --frames 900 > /dev/null 2>&1";
    EXPECT_NE(system(cmd.c_str()), 0);
}
