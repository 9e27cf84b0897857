// The real game in its window with real keys: the window, the menu, a won game
// and a lost game, with the screens checked against the pictures they are drawn from.
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "assets/recording.h"

#include "e2e_support.h"
#include "game/tuning.h"
#include "support.h"

namespace {

const int SCREEN_W = 1366;
const int SCREEN_H = 768;
// A quarter of the usual speed scale: four times the steps, still under one tile
// a frame, so no row is passed over; the fly-off and the 2.5 s pause stay as they are.
const char* const FAST = "0.25";

// A short level: floor from the near end, the finish on rows 12 to 23, nothing
// beyond; stars on the spawn column (column 2) at `star_rows`.
std::string finish_at_row_12(const std::vector<int>& star_rows) {
    std::vector<level_edit_t> rows = rows_of(24, 239, ".......");
    for (const level_edit_t& e : rows_of(12, 23, ".FFFFF."))
        rows.push_back(e);
    for (int r : star_rows)
        rows.push_back({r, ".#*###."});
    return plain_level(rows, false);
}

screen_shot_t picture(const char* name) {
    return read_screen_picture(std::string(QUOVIX_RESOURCES_DIR) + "/1366x768/" + name, SCREEN_W, SCREEN_H);
}

struct Game : testing::Test {
    game_run_t run;
    void       SetUp() override {
        if (!have_display())
            GTEST_SKIP() << "no X display";
        // the screens need the 1366x768 picture set, which the game picks by screen size
        screen_shot_t s = take_screenshot();
        if (s.width != SCREEN_W || s.height != SCREEN_H)
            GTEST_SKIP() << "the screen is not 1366x768";
    }
    void TearDown() override { kill_game(&run); }
    void start(const std::vector<std::string>& levels, const std::string& scale = "1") {
        ASSERT_TRUE(launch_game(&run, make_play_folder(levels, scale)));
        ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    }
    void choose_play() {
        press_key("w");
        press_key("Return");
    }
    void leave_with_esc() {
        press_key("Escape");
        ASSERT_TRUE(wait_for_exit(&run, 10));
        EXPECT_EQ(run.status, 0);
    }
    std::string results_path() const { return run.bin_dir + "/player.s"; }
    // Waits for the summary over the game-over picture; the screen then.
    screen_shot_t summary() {
        screen_shot_t gameover = picture("gameover.bmp");
        // the picture's words, right of the bests' corner and above the line that says how it ended
        auto picture_shown = [&](const screen_shot_t& s) {
            return block_difference(s, gameover, 560, 0, SCREEN_W, 200) < 8.0;
        };
        screen_shot_t shot = wait_for_screen(
            [&](const screen_shot_t& s) {
                return picture_shown(s) && white_over_picture(s, gameover, 450, 340, 1200, 580) > 1500;
            },
            30);
        EXPECT_TRUE(picture_shown(shot)) << "no game-over picture";
        // five lines of points from the middle down
        EXPECT_GT(white_over_picture(shot, gameover, 450, 340, 1200, 580), 1500);
        return shot;
    }
};

// The whole screen against a picture, and against that picture turned upside
// down, so a match means right side up and not sheared; nearer it than `other`.
void expect_screen_shows(const screen_shot_t& shot, const char* name, const char* other) {
    screen_shot_t pic = picture(name);
    ASSERT_EQ(shot.width, pic.width) << name;
    double straight = block_difference(shot, pic, 0, 0, SCREEN_W, SCREEN_H);
    EXPECT_LT(straight, 8.0) << name;
    EXPECT_GT(block_difference(shot, flipped_upside_down(pic), 0, 0, SCREEN_W, SCREEN_H), straight + 4.0) << name;
    // a row skew of a pixel or two per row would leave the top and bottom far off
    EXPECT_LT(block_difference(shot, pic, 0, 0, SCREEN_W, 96), 10.0) << name << " top";
    EXPECT_LT(block_difference(shot, pic, 0, SCREEN_H - 96, SCREEN_W, SCREEN_H), 10.0) << name << " bottom";
    EXPECT_LT(straight, block_difference(shot, picture(other), 0, 0, SCREEN_W, SCREEN_H)) << name;
}

// Waits until the screen is nearer one picture than another; the screen then.
screen_shot_t screen_nearer(const char* name, const char* other) {
    screen_shot_t pic = picture(name), other_pic = picture(other);
    return wait_for_screen([&](const screen_shot_t& s) {
        return block_difference(s, pic, 0, 0, SCREEN_W, SCREEN_H) + 4.0 <
               block_difference(s, other_pic, 0, 0, SCREEN_W, SCREEN_H);
    });
}

}   // namespace

TEST_F(Game, WindowCoversTheScreenAndEscOnTheMenuLeaves) {
    start({finish_at_row_12({})});
    int x, y, w, h, sw, sh;
    ASSERT_TRUE(window_geometry(run, &x, &y, &w, &h, &sw, &sh));
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, sw, sh}));
    // the menu picture fills the screen: no corner is left unpainted black
    screen_shot_t shot = wait_for_screen([](const screen_shot_t& s) {
        double tl[3], br[3];
        mean_colour(s, 0, 0, 40, 40, tl);
        mean_colour(s, s.width - 40, s.height - 40, s.width, s.height, br);
        return tl[0] + tl[1] + tl[2] > 15 && br[0] + br[1] + br[2] > 3;
    });
    double        tl[3], br[3];
    mean_colour(shot, 0, 0, 40, 40, tl);
    mean_colour(shot, shot.width - 40, shot.height - 40, shot.width, shot.height, br);
    EXPECT_GT(tl[0] + tl[1] + tl[2], 15);
    EXPECT_GT(br[0] + br[1] + br[2], 3);
    leave_with_esc();
    EXPECT_NE(game_output(run).find("OpenGL version: "), std::string::npos);
    EXPECT_FALSE(file_exists(results_path()));
}

TEST_F(Game, MenuShowsPlayThenExitAndExitLeavesWithoutResults) {
    start({finish_at_row_12({})});
    expect_screen_shows(screen_nearer("playgame.bmp", "exitgame.bmp"), "playgame.bmp", "exitgame.bmp");
    press_key("s");
    expect_screen_shows(screen_nearer("exitgame.bmp", "playgame.bmp"), "exitgame.bmp", "playgame.bmp");
    press_key("Return");
    ASSERT_TRUE(wait_for_exit(&run, 10)) << "Enter on exit did not end the game";
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(file_exists(results_path()));
}

TEST_F(Game, PlayShowsTrackOverBackgroundWithWhiteHudAndEscLeaves) {
    // a long level, so the first one is still being played when the screen is read
    start({plain_level({{6, ".#*###."}, {9, ".#*###."}, {30, ".#*#*#."}, {40, ".*#*#*."}})});
    choose_play();
    screen_shot_t background = picture("background.bmp");
    ASSERT_GT(background.width, 0);
    // until the track has come into view under the head-up lines
    screen_shot_t shot = wait_for_screen([&](const screen_shot_t& s) {
        return block_difference(s, background, 300, 420, 1100, 580) > 4.0 &&
               white_over_picture(s, background, 900, 30, SCREEN_W, 140) > 120;
    });
    ASSERT_FALSE(run.exited) << game_output(run);
    // the sky between the head-up lines and the far end of the track is the picture
    EXPECT_LT(block_difference(shot, background, 0, 140, SCREEN_W, 230), 12.0);
    EXPECT_LT(block_difference(shot, background, 0, 140, SCREEN_W, 230),
              block_difference(shot, picture("gameover.bmp"), 0, 140, SCREEN_W, 230));
    // the track covers the picture from the middle of the screen down to its near end
    // (some 7.7 once the view has settled, against under 0.1 where only the picture shows)
    EXPECT_GT(block_difference(shot, background, 300, 420, 1100, 580), 4.0);
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
    std::vector<std::string>            levels;
    for (const std::vector<int>& s : stars)
        levels.push_back(finish_at_row_12(s));
    start(levels, FAST);
    choose_play();
    // five fly-offs of some 230 frames and five pauses: minutes on a slow renderer
    ASSERT_TRUE(wait_for_lines(results_path(), 5, 300)) << game_output(run);
    ASSERT_FALSE(run.exited);
    std::vector<std::string> lines = lines_of(read_text_file(results_path()));
    ASSERT_EQ(lines.size(), 5u);
    for (int i = 0; i < 5; i++) {
        int level = 0, n = 0, time = 0, lives = 0;
        ASSERT_EQ(sscanf(lines[i].c_str(), "%d %d %d %d", &level, &n, &time, &lives), 4) << lines[i];
        EXPECT_EQ(std::vector<int>({level, n, lives}), std::vector<int>({i + 1, (int)stars[i].size(), START_LIVES}))
            << lines[i];
        EXPECT_TRUE(time > 0 && time < 120000) << lines[i];
    }
    // the file is written at the finish of level 5; the summary follows the fly-off
    screen_shot_t shot = summary();
    EXPECT_GT(
        block_difference(flipped_upside_down(picture("gameover.bmp")), picture("gameover.bmp"), 0, 0, SCREEN_W, 320),
        8.0);
    // the line about Esc
    EXPECT_GT(white_over_picture(shot, picture("gameover.bmp"), 450, 640, 1000, 730), 150);
    EXPECT_GT(white_over_picture(shot, picture("gameover.bmp"), 400, 215, 970, 250), 150) << "won: no line says so";
    leave_with_esc();
}

// The level change keeps the window's frames coming: Esc leaves in its wait, as anywhere.
TEST_F(Game, EscLeavesDuringTheLevelChange) {
    run.env.push_back("QUOVIX_FRAME_REPORT=1");
    start({finish_at_row_12({}), finish_at_row_12({})}, FAST);
    choose_play();
    const std::string held = "frame pace: frames held for the level change";
    bool              holding = false;
    for (int i = 0; i < 1200 && !holding && !run.exited; i++) {
        holding = read_text_file(run.err_path).find(held) != std::string::npos;
        if (!holding)
            sleep_ms(50);
    }
    ASSERT_TRUE(holding) << game_output(run);
    // its words, white on a dark band across the middle
    auto words_shown = [](const screen_shot_t& s) {
        long white = 0, dark = 0;
        for (int y = SCREEN_H / 2 - 30; y < SCREEN_H / 2 + 30; y++) {
            for (int x = 0; x < SCREEN_W; x++) {
                const uint8_t* p = s.at(x, y);
                white += p[0] > 200 && p[1] > 200 && p[2] > 200;
                dark += p[0] < 40 && p[1] < 40 && p[2] < 40;
            }
        }
        return white > 300 && dark > SCREEN_W * 60 / 2;
    };
    EXPECT_TRUE(words_shown(wait_for_screen(words_shown, 2))) << "the level change says nothing";
    // held for some frames, then let go: well inside the 2.5 s wait
    press_key("Escape");
    ASSERT_TRUE(wait_for_exit(&run, 10)) << game_output(run);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(occurrences(read_text_file(run.err_path), held), 1) << "left in the first change";
}

TEST_F(Game, LostGameWritesItsRecordsOnceWhileTheSummaryStays) {
    // the track ends after three rows with a star on the second: five falls off its end
    std::vector<level_edit_t> rows = rows_of(3, 239, ".......");
    rows.push_back({1, ".#*###."});
    run.env.push_back("QUOVIX_FRAME_REPORT=1");
    start({plain_level(rows, false)}, FAST);
    choose_play();
    ASSERT_TRUE(wait_for_lines(results_path(), 5, 120)) << game_output(run);
    screen_shot_t shot = summary();
    EXPECT_GT(white_over_picture(shot, picture("gameover.bmp"), 400, 215, 970, 250), 100) << "lost: no line says so";
    std::string first = read_text_file(results_path());
    struct stat written;
    ASSERT_EQ(stat(results_path().c_str(), &written), 0);
    // the summary's frames go on for two reports of the frames drawn, a second each,
    // and leave the file as it was written once
    int reports = occurrences(read_text_file(run.err_path), "frames: ");
    for (int i = 0; i < 200 && occurrences(read_text_file(run.err_path), "frames: ") < reports + 2; i++)
        sleep_ms(50);
    ASSERT_GE(occurrences(read_text_file(run.err_path), "frames: "), reports + 2) << game_output(run);
    ASSERT_FALSE(run.exited);
    struct stat now;
    ASSERT_EQ(stat(results_path().c_str(), &now), 0);
    EXPECT_TRUE(now.st_ino == written.st_ino && now.st_mtim.tv_nsec == written.st_mtim.tv_nsec) << "written again";
    std::string second = read_text_file(results_path());
    EXPECT_EQ(first, second);
    EXPECT_TRUE(level_one_record_only(second, 1, 0)) << second;
    EXPECT_NE(second.substr(0, 5), "1 1 0") << "no time in level one";
    leave_with_esc();
    EXPECT_EQ(read_text_file(results_path()), second);
}

TEST_F(Game, DReleasedUnderShiftStopsSteeringAndTheLevelIsFinished) {
    // held on, d would take the ship off the track's right edge long before the finish
    std::vector<level_edit_t> rows = rows_of(0, 59, ".#####.");
    for (const level_edit_t& e : rows_of(60, 70, ".FFFFF."))
        rows.push_back(e);
    for (const level_edit_t& e : rows_of(71, 239, "......."))
        rows.push_back(e);
    start({plain_level(rows, false)});
    choose_play();
    send_keys("keydown d keydown shift keyup d keyup shift");
    ASSERT_TRUE(wait_for_lines(results_path(), 1, 60)) << game_output(run);
    std::string first = lines_of(read_text_file(results_path()))[0];
    EXPECT_EQ(first.substr(0, 4) + first.substr(first.size() - 2), "1 0  " + std::to_string(START_LIVES)) << first;
    leave_with_esc();
}

// Exactly white pixels of a rectangle: the game's text, which nothing else draws.
static long white_pixels(const screen_shot_t& s, int x0, int y0, int x1, int y1) {
    long n = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            n += s.at(x, y)[0] == 255 && s.at(x, y)[1] == 255 && s.at(x, y)[2] == 255;
    return n;
}

static bool same_screen(const screen_shot_t& a, const screen_shot_t& b) { return a.rgb == b.rgb; }

TEST_F(Game, PPausesWithTheTimeStillAndEnterOnTheSummaryStartsAgain) {
    std::vector<level_edit_t> rows = rows_of(40, 239, ".......");
    start({plain_level(rows, false)}, FAST);
    choose_play();
    press_key("p");
    // paused once PAUSED shows and two screens in a row are alike: a busy machine may stall a frame
    screen_shot_t last = take_screenshot();
    screen_shot_t paused = wait_for_screen([&](const screen_shot_t& s) {
        bool alike = same_screen(s, last) && white_pixels(s, 383, 260, 983, 340) > 200;
        last = s;
        return alike;
    });
    ASSERT_TRUE(same_screen(paused, last)) << game_output(run);
    EXPECT_GT(white_pixels(paused, 383, 260, 983, 340), 200) << "no PAUSED";
    EXPECT_GT(block_difference(paused, picture("gameover.bmp"), 0, 0, SCREEN_W, 320), 8.0) << "the summary, not play";
    // over more than a second the time shown, the ship and the track all stand still
    screen_shot_t later = wait_for_screen([&](const screen_shot_t& s) { return !same_screen(s, paused); }, 1.5);
    EXPECT_TRUE(same_screen(later, paused));
    press_key("p");
    screen_shot_t going_on = wait_for_screen([&](const screen_shot_t& s) { return !same_screen(s, paused); });
    EXPECT_GT(white_pixels(paused, 383, 260, 983, 340), white_pixels(going_on, 383, 260, 983, 340) + 200);
    summary();
    press_key("Return");
    expect_screen_shows(screen_nearer("playgame.bmp", "gameover.bmp"), "playgame.bmp", "gameover.bmp");
    // the fresh menu stands on PLAY GAME; the keypad's Enter confirms it
    press_key("KP_Enter");
    // start-up read level one at launch, for play, for the fresh menu and for play again
    auto level_reads = [&] {
        size_t n = 0;
        for (const std::string& line : lines_of(game_output(run)))
            n += line.rfind("Bitmap size:", 0) == 0;
        return n;
    };
    for (int i = 0; i < 100 && level_reads() < 4; i++)
        sleep_ms(100);
    EXPECT_EQ(level_reads(), 4u) << game_output(run);
    leave_with_esc();
}

TEST_F(Game, FocusTakenAwayPausesPlayAndPGoesOn) {
    start({plain_level(rows_of(0, 239, ".#####."), false)});
    choose_play();
    EXPECT_LT(white_pixels(take_screenshot(), 383, 260, 983, 340), 50) << "white where PAUSED goes";
    ASSERT_TRUE(give_focus_to(0));
    screen_shot_t last = take_screenshot();
    screen_shot_t paused = wait_for_screen([&](const screen_shot_t& s) {
        bool alike = same_screen(s, last) && white_pixels(s, 383, 260, 983, 340) > 200;
        last = s;
        return alike;
    });
    EXPECT_GT(white_pixels(paused, 383, 260, 983, 340), 200) << "no PAUSED";
    EXPECT_GT(block_difference(paused, picture("gameover.bmp"), 0, 0, SCREEN_W, 320), 8.0) << "the summary, not play";
    ASSERT_TRUE(give_focus_to(run.window));
    press_key("p");
    screen_shot_t going_on = wait_for_screen([&](const screen_shot_t& s) { return !same_screen(s, paused); });
    EXPECT_FALSE(same_screen(going_on, paused));
    leave_with_esc();
}

// A game played with real keys is kept: its summary shows the bests it set beside
// the designed figures, and watched from its file it ends with the same records,
// writing nothing.
TEST_F(Game, AGameKeptIsWatchedToItsRecordsAndItsSummaryShowsTheBests) {
    std::vector<std::string> levels;
    for (int i = 0; i < 5; i++)
        levels.push_back(finish_at_row_12({3, 6}));
    start(levels, FAST);
    choose_play();
    ASSERT_TRUE(wait_for_lines(results_path(), 5, 300)) << game_output(run);
    summary();
    // small lines over the picture's top left corner, where the designed summary has none;
    // made as the game ends, they may come a frame after the summary's first
    screen_shot_t gameover = picture("gameover.bmp");
    screen_shot_t shot = wait_for_screen(
        [&](const screen_shot_t& s) { return white_over_picture(s, gameover, 0, 0, 560, 110) > 200; }, 10);
    EXPECT_GT(white_over_picture(shot, gameover, 0, 0, 560, 110), 200);
    std::string results = read_text_file(results_path());
    leave_with_esc();
    std::vector<std::string> games = kept_games(run.bin_dir);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_NE(read_text_file(run.bin_dir + "/../records.txt").find("\nlevel "), std::string::npos);

    std::string bin = run.bin_dir;
    run = game_run_t{};
    run.args = {"--watch", "../replays/" + games[0]};
    ASSERT_TRUE(launch_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    bool watched = false;
    for (int i = 0; i < 1200 && !watched; i++, sleep_ms(100))
        watched = read_text_file(run.err_path).find("watched to its end") != std::string::npos;
    EXPECT_TRUE(watched) << read_text_file(run.err_path);
    EXPECT_EQ(read_text_file(run.err_path).find("did not end"), std::string::npos) << read_text_file(run.err_path);
    EXPECT_EQ(read_text_file(bin + "/player.s"), results);
    EXPECT_EQ(kept_games(bin).size(), 1u) << "a watched game is not kept again";
    press_key("Escape");   // back to the menu
    leave_with_esc();
}

// Pixels that differ from the background picture by more than a little, in a box.
static long off_the_background(const screen_shot_t& shot, int x0, int y0, int x1, int y1) {
    screen_shot_t back = picture("background.bmp");
    long          n = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            n += std::abs(shot.at(x, y)[0] - back.at(x, y)[0]) + std::abs(shot.at(x, y)[1] - back.at(x, y)[1]) +
                     std::abs(shot.at(x, y)[2] - back.at(x, y)[2]) >
                 90;
    return n;
}

// The level's best run flies beside the ship, over the sky to its left and ahead; g hides
// it, and the choice is kept for the next game.
TEST_F(Game, TheGhostFliesBesideTheShipAndGHidesIt) {
    std::string bin = make_play_folder({plain_level()});
    std::string bytes = read_text_file(bin + "/../resources/levelone.bmp");
    std::string path;
    for (int i = 0; i < 4000; i++) {
        char line[80];
        snprintf(line, sizeof(line), "%.4f %.4f %.4f 90.00 0\n", SPAWN_POINT[0] - 0.01,
                 SPAWN_POINT[1] + 0.01 + 0.0008 * i, SPAWN_POINT[2]);
        path += line;
    }
    std::filesystem::create_directory(bin + "/../replays");
    write_text_file(bin + "/../replays/ghost-" + content_hash(bytes) + ".txt", path);
    ASSERT_TRUE(launch_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    screen_shot_t menu = take_screenshot();
    choose_play();
    ASSERT_TRUE(wait_for_play(run, menu));
    const int     box[4] = {150, 300, 480, 420};   // the sky left of the track, where the ghost flies
    screen_shot_t shown = wait_for_screen(
        [&](const screen_shot_t& s) { return off_the_background(s, box[0], box[1], box[2], box[3]) > 300; });
    EXPECT_GT(off_the_background(shown, box[0], box[1], box[2], box[3]), 300) << "no ghost";
    press_key("g");
    screen_shot_t hidden = wait_for_screen(
        [&](const screen_shot_t& s) { return off_the_background(s, box[0], box[1], box[2], box[3]) < 30; });
    EXPECT_LT(off_the_background(hidden, box[0], box[1], box[2], box[3]), 30) << "the ghost stayed";
    EXPECT_NE(read_text_file(bin + "/../settings.txt").find("ghost off"), std::string::npos);
    leave_with_esc();
}

// A level 9 tiles wide, so the game's size line says which world it came from: floor, then the
// finish on rows 12 to 23, nothing beyond.
static std::string wide_finish_at_row_12() {
    std::string text;
    for (int row = 239; row >= 0; row--)
        text += row >= 24 ? ".........\n" : row >= 12 ? ".FFFFFFF.\n" : ".#######.\n";
    return text;
}

static void make_world(const std::string& folder, const std::string& card, const std::string& level) {
    std::filesystem::create_directories(folder);
    write_text_file(folder + "/world.txt", card);
    for (const char* name : {"levelone", "leveltwo", "levelthree", "levelfour", "levelfive"})
        write_binary_file(folder + "/" + name + ".bmp", level_bmp(level));
}

// l opens the world picker over the menu; a campaign world not yet opened refuses Enter with a
// line that says so; the player's own world plays to its summary, its results in its own folder.
TEST_F(Game, TheWorldPickerRefusesALockedWorldAndPlaysAChosenOneToItsSummary) {
    std::string bin = make_play_folder({finish_at_row_12({})}, FAST);
    std::filesystem::remove_all(bin + "/../resources/worlds");
    make_world(bin + "/../resources/worlds/01-locked", "title: Locked\nmaker: Us\n", finish_at_row_12({}));
    make_world(bin + "/../worlds/mine", "title: Mine\nmaker: Me\n", wide_finish_at_row_12());
    ASSERT_TRUE(launch_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    screen_shot_t background = picture("background.bmp");
    press_key("l");
    screen_nearer("background.bmp", "playgame.bmp");
    // the world names, a line each from the top
    screen_shot_t listed = wait_for_screen(
        [&](const screen_shot_t& s) { return white_over_picture(s, background, 100, 80, 900, 200) > 300; });
    EXPECT_GT(white_over_picture(listed, background, 100, 80, 900, 200), 300) << "no worlds listed";
    // the refusal's line over the keys' line at the bottom
    auto refused = [&](const screen_shot_t& s) { return white_over_picture(s, background, 300, 684, 1066, 712) > 100; };
    EXPECT_FALSE(refused(listed));
    press_key("s");
    press_key("Return");
    EXPECT_TRUE(refused(wait_for_screen(refused, 10))) << "Enter on a locked world said nothing";
    EXPECT_EQ(occurrences(game_output(run), "Bitmap size: "), 1) << "a locked world was loaded";
    press_key("s");
    press_key("Return");
    ASSERT_TRUE(wait_for_lines(bin + "/../worlds/mine/player.s", 5, 300)) << game_output(run);
    EXPECT_NE(game_output(run).find("Bitmap size: 9,240"), std::string::npos) << game_output(run);
    summary();
    EXPECT_FALSE(file_exists(results_path())) << "the world's results went into the designed player.s";
    leave_with_esc();
}

// The picker's last line is the random world, its seed making it longer than the designed game's;
// Enter on it makes level one and plays it, start-up running again on the designed size.
TEST_F(Game, ThePickersRandomWorldLineShowsItsSeedAndEnterPlaysIt) {
    std::string bin = make_play_folder({finish_at_row_12({})}, FAST);
    std::filesystem::remove_all(bin + "/../resources/worlds");
    ASSERT_TRUE(launch_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    screen_shot_t background = picture("background.bmp");
    press_key("l");
    // the first line's text from 85 to 102 from the top, the second's 27 rows lower
    auto line = [&](const screen_shot_t& s, int n) {
        return white_over_picture(s, background, 100, 84 + 27 * n, 1300, 104 + 27 * n);
    };
    screen_shot_t listed = wait_for_screen([&](const screen_shot_t& s) { return line(s, 1) > 300; });
    EXPECT_GT(line(listed, 1), line(listed, 0) + 100) << "the random world's line shows no seed";
    press_key("s");
    press_key("Return");
    for (int i = 0; i < 200 && occurrences(game_output(run), "Bitmap size: ") < 2; i++)
        sleep_ms(50);
    EXPECT_EQ(occurrences(game_output(run), "Bitmap size: 7,240"), 2) << game_output(run);
    leave_with_esc();
    EXPECT_FALSE(file_exists(results_path()));
}
