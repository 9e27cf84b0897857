// Whole games through the real window: menu, a won game, a lost game, with the
// screens checked against the pictures they are drawn from.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "e2e_support.h"
#include "support.h"

namespace {

const int SCREEN_W = 1366;
const int SCREEN_H = 768;
// A quarter of the usual speed scale: four times the steps, still under one tile
// a frame, so no row is passed over; the fly-off and the 2.5 s pause stay as they are.
const char* const FAST = "0.25";

// A short level: floor from the near end, the finish from row `finish` for 12
// rows, nothing beyond; stars on the spawn column (column 2) at `star_rows`.
std::string short_level(const std::vector<int>& star_rows, int finish = 12) {
    std::vector<level_edit> rows;
    for (int r = finish + 12; r < 240; r++)
        rows.push_back({r, "......."});
    for (int r = finish; r < finish + 12; r++)
        rows.push_back({r, ".FFFFF."});
    for (int r : star_rows)
        rows.push_back({r, ".#*###."});
    return plain_level(rows, false);
}

// Track for `rows` rows, a star on row 1, then nothing: the ship falls off the end.
std::string dead_end_level(int rows = 3) {
    std::vector<level_edit> edits;
    for (int r = rows; r < 240; r++)
        edits.push_back({r, "......."});
    edits.push_back({1, ".#*###."});
    return plain_level(edits, false);
}

std::string picture_path(const char* name) {
    return std::string(QUOVIX_RESOURCES_DIR) + "/1366x768/" + name;
}

screen_shot picture(const char* name) { return read_screen_picture(picture_path(name), SCREEN_W, SCREEN_H); }

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct record {
    int level = -1, stars = -1, time = -1, lives = -1;
};

record parse_record(const std::string& line) {
    record r;
    std::istringstream in(line);
    in >> r.level >> r.stars >> r.time >> r.lives;
    return r;
}

// Saves what the screen showed next to the test's output, for a look after a failure.
void keep_for_inspection(const screen_shot& s, const char* name) {
    save_png_ppm(s, std::string(QUOVIX_BIN_DIR) + "/../tests/" + name + ".ppm");
}

// The screens need the 1366x768 picture set, which the game picks by screen size.
bool screen_is_1366x768() {
    screen_shot s = take_screenshot();
    return s.width == SCREEN_W && s.height == SCREEN_H;
}

struct Game : testing::Test {
    game_run run;
    void SetUp() override {
        if (!have_display())
            GTEST_SKIP() << "no X display";
        if (!screen_is_1366x768())
            GTEST_SKIP() << "the screen is not 1366x768";
    }
    void TearDown() override { kill_game(&run); }
    void start(const std::vector<std::string>& levels, const std::string& scale = "1") {
        ASSERT_TRUE(start_game(&run, make_play_folder(levels, scale), game_program()));
        ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    }
    void start_play() {
        press_key("w");
        press_key("Return");
    }
    void leave_with_esc() {
        press_key("Escape");
        ASSERT_TRUE(wait_for_exit(&run, 10));
        EXPECT_EQ(run.status, 0);
    }
    std::string results_path() const { return run.bin_dir + "/player.s"; }
};

// The whole screen against a picture, and against that picture turned upside
// down, so a match means right side up and not sheared.
void expect_screen_shows(const screen_shot& shot, const screen_shot& pic, const char* name) {
    ASSERT_EQ(shot.width, pic.width);
    double straight = block_difference(shot, pic, 0, 0, SCREEN_W, SCREEN_H);
    double flipped = block_difference(shot, flipped_upside_down(pic), 0, 0, SCREEN_W, SCREEN_H);
    EXPECT_LT(straight, 8.0) << name;
    EXPECT_GT(flipped, straight + 4.0) << name;
    // a row skew of a pixel or two per row would leave the top and bottom far off
    EXPECT_LT(block_difference(shot, pic, 0, 0, SCREEN_W, 96), 10.0) << name << " top";
    EXPECT_LT(block_difference(shot, pic, 0, SCREEN_H - 96, SCREEN_W, SCREEN_H), 10.0) << name << " bottom";
}

}  // namespace

TEST_F(Game, MenuShowsPlayThenExitAndExitLeavesWithoutResults) {
    start({short_level({})});
    screen_shot play_shot = take_screenshot();
    keep_for_inspection(play_shot, "menu_play");
    screen_shot play_pic = picture("playgame.bmp");
    screen_shot exit_pic = picture("exitgame.bmp");
    ASSERT_GT(play_pic.width, 0) << "missing " << picture_path("playgame.bmp");
    ASSERT_GT(exit_pic.width, 0) << "missing " << picture_path("exitgame.bmp");
    expect_screen_shows(play_shot, play_pic, "play picture");
    // the two menu pictures differ, so the screen must be nearer the right one
    EXPECT_LT(block_difference(play_shot, play_pic, 0, 0, SCREEN_W, SCREEN_H),
              block_difference(play_shot, exit_pic, 0, 0, SCREEN_W, SCREEN_H));

    press_key("s");
    sleep_ms(300);
    screen_shot exit_shot = take_screenshot();
    keep_for_inspection(exit_shot, "menu_exit");
    expect_screen_shows(exit_shot, exit_pic, "exit picture");
    EXPECT_LT(block_difference(exit_shot, exit_pic, 0, 0, SCREEN_W, SCREEN_H),
              block_difference(exit_shot, play_pic, 0, 0, SCREEN_W, SCREEN_H));

    press_key("Return");
    ASSERT_TRUE(wait_for_exit(&run, 10)) << "Enter on exit did not end the game";
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(file_exists(results_path()));
}

TEST_F(Game, EscLeavesTheMenu) {
    start({short_level({})});
    leave_with_esc();
    EXPECT_FALSE(file_exists(results_path()));
}

TEST_F(Game, PlayShowsTrackOverBackgroundWithWhiteHudAndEscLeaves) {
    // a long level, so the first one is still being played when the screen is read
    start({plain_level({{6, ".#*###."}, {9, ".#*###."}, {30, ".#*#*#."}, {40, ".*#*#*."}})});
    start_play();
    sleep_ms(1200);
    ASSERT_FALSE(run.exited) << game_output(run);
    screen_shot shot = take_screenshot();
    keep_for_inspection(shot, "play");
    screen_shot background = picture("background.bmp");
    ASSERT_GT(background.width, 0);
    // the sky between the head-up lines and the far end of the track is the picture
    EXPECT_LT(block_difference(shot, background, 0, 140, SCREEN_W, 230), 12.0);
    EXPECT_LT(block_difference(shot, background, 0, 140, SCREEN_W, 230),
              block_difference(shot, picture("gameover.bmp"), 0, 140, SCREEN_W, 230));
    // the track covers the picture from the middle of the screen down to its near end
    EXPECT_GT(block_difference(shot, background, 300, 420, 1100, 580), 8.0);
    // time at the upper left, level at the top centre, stars and lives at the upper right
    EXPECT_GT(white_over_picture(shot, background, 0, 30, 450, 130), 60);
    EXPECT_GT(white_over_picture(shot, background, 450, 10, 900, 70), 60);
    EXPECT_GT(white_over_picture(shot, background, 900, 30, SCREEN_W, 140), 120);
    leave_with_esc();
    // a game left while it is being played writes no results
    EXPECT_FALSE(file_exists(results_path()));
}

TEST_F(Game, WonGameWritesFiveRecordsAndShowsTheSummary) {
    const std::vector<std::vector<int>> stars = {{3, 6, 9}, {5}, {4, 8}, {}, {2, 4, 6, 8}};
    std::vector<std::string> levels;
    for (const std::vector<int>& s : stars)
        levels.push_back(short_level(s));
    start(levels, FAST);
    start_play();
    // five fly-offs of some 230 frames and five pauses: minutes on a slow renderer
    ASSERT_TRUE(wait_for_lines(results_path(), 5, 300)) << game_output(run);
    ASSERT_FALSE(run.exited);
    std::vector<std::string> lines = lines_of(read_text_file(results_path()));
    ASSERT_EQ(lines.size(), 5u);
    for (int i = 0; i < 5; i++) {
        record r = parse_record(lines[i]);
        EXPECT_EQ(r.level, i + 1) << lines[i];
        EXPECT_EQ(r.stars, (int)stars[i].size()) << lines[i];
        EXPECT_GT(r.time, 0) << lines[i];
        EXPECT_LT(r.time, 120000) << lines[i];
        EXPECT_EQ(r.lives, 5) << lines[i];
    }

    // the file is written at the finish of level 5; the summary follows the fly-off
    screen_shot gameover = picture("gameover.bmp");
    ASSERT_GT(gameover.width, 0);
    screen_shot shot;
    for (int i = 0; i < 150; i++) {
        sleep_ms(200);
        shot = take_screenshot();
        if (block_difference(shot, gameover, 0, 0, SCREEN_W, 300) < 8.0)
            break;
    }
    sleep_ms(300);
    shot = take_screenshot();
    keep_for_inspection(shot, "summary_won");
    EXPECT_LT(block_difference(shot, gameover, 0, 0, SCREEN_W, 320), 8.0) << "no game-over picture";
    EXPECT_GT(block_difference(flipped_upside_down(gameover), gameover, 0, 0, SCREEN_W, 320), 8.0);
    // five lines of points from the middle down, then the line about Esc
    EXPECT_GT(white_over_picture(shot, gameover, 450, 340, 1200, 580), 1500);
    EXPECT_GT(white_over_picture(shot, gameover, 450, 640, 1000, 730), 150);
    leave_with_esc();
}

TEST_F(Game, LostGameKeepsItsRecordsWhileTheSummaryStays) {
    // the track ends after three rows with a star on the second: five falls off its end
    std::string level = dead_end_level();
    start({level}, FAST);
    start_play();
    ASSERT_TRUE(wait_for_lines(results_path(), 5, 120)) << game_output(run);
    sleep_ms(300);
    std::string first = read_text_file(results_path());
    sleep_ms(1000);
    std::string second = read_text_file(results_path());
    EXPECT_EQ(first, second);
    std::vector<std::string> lines = lines_of(second);
    ASSERT_EQ(lines.size(), 5u) << second;
    record one = parse_record(lines[0]);
    EXPECT_EQ(one.level, 1);
    EXPECT_EQ(one.stars, 1);
    EXPECT_GT(one.time, 0);
    EXPECT_EQ(one.lives, 0);
    for (int i = 1; i < 5; i++)
        EXPECT_EQ(lines[i], "0 0 0 0");

    ASSERT_FALSE(run.exited);
    screen_shot shot = take_screenshot();
    keep_for_inspection(shot, "summary_lost");
    screen_shot gameover = picture("gameover.bmp");
    EXPECT_LT(block_difference(shot, gameover, 0, 0, SCREEN_W, 320), 8.0);
    EXPECT_GT(white_over_picture(shot, gameover, 450, 340, 1200, 580), 1500);
    leave_with_esc();
    EXPECT_EQ(read_text_file(results_path()), second);
}
