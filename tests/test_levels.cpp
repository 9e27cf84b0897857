// The shipped levels and their replays, the replay text and the solver.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/headless.h"
#include "assets/replay_text.h"
#include "game/levelmap.h"
#include "game/tuning.h"
#include "replay.h"
#include "support.h"

// A played level's name, its picture's name without ".bmp": the name of its sources.
static std::string level_name(int i) {
    std::string picture = resource_name(level_files[i]);
    return picture.substr(0, picture.size() - 4);
}
static const std::string levels_dir = std::string(QUOVIX_SOURCE_DIR) + "/data/levels/";
static const std::string tools_dir = std::string(QUOVIX_TOOLS_DIR) + "/";

static std::vector<unsigned> replay_in(const std::string& path) {
    std::vector<unsigned> frames;
    std::string           why;
    EXPECT_TRUE(replay_from_text(read_text_file(path), &frames, &why)) << path << ": " << why;
    return frames;
}

// Plays a replay on a game whose five levels are all the given one.
static replay_outcome_t play_replay(const std::string& level_text, const std::vector<unsigned>& frames) {
    replay_outcome_t out = {false, -1, 0, 0, 0};
    if (sim_open(make_play_folder({level_text}).c_str()) && sim_start_play())
        out = replay_play(frames);
    else
        ADD_FAILURE() << "play did not start";
    sim_close();
    return out;
}

static int events_logged(game_event_t event, int* last_frame = nullptr) {
    int n = 0;
    for (const sim_event_t& e : sim_event_log()) {
        if (e.event == event) {
            n++;
            if (last_frame)
                *last_frame = e.frame;
        }
    }
    return n;
}

using ShippedLevel = testing::TestWithParam<int>;

TEST_P(ShippedLevel, PassesTheCheckKeepsAGapFirstAndItsReplayFinishesWithoutLosingALife) {
    std::string path = levels_dir + level_name(GetParam());
    std::string said = temp_folder() + "/check.out";
    EXPECT_EQ(system((tools_dir + "quovix-level check " + path + ".txt > \"" + said + "\"").c_str()), 0);
    // the first pixel, where a ship that leaves the track looks, is the first tile of the last row
    std::string text = read_text_file(path + ".txt"), last;
    for (const std::string& line : lines_of(text))
        if (!line.empty() && line[0] != ';')
            last = line;
    EXPECT_EQ(last[0], '.');
    replay_outcome_t out = play_replay(text, replay_in(path + ".replay"));
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.lives_lost, 0);
    EXPECT_GE(out.lives_at_end, START_LIVES);
    // the runner's record tells the same run: its first frame was Enter on the menu
    int finished_on = 0;
    EXPECT_EQ(events_logged(EV_LEVEL_FINISHED, &finished_on), 1);
    EXPECT_EQ(finished_on, 1 + out.finish_frame);
    EXPECT_EQ(events_logged(EV_STAR), out.stars);
    EXPECT_EQ(events_logged(EV_HEART), out.lives_at_end - START_LIVES);
    EXPECT_EQ(events_logged(EV_LIFE_LOST), 0);
    // every jump lands once, but one still in the air at the finish; a drop off a wall lands too
    int in_the_air = game.ship.contact == CONTACT_AIRBORNE;
    EXPECT_GE(events_logged(EV_LAND), events_logged(EV_JUMP) + events_logged(EV_HIGH_JUMP) - in_the_air);
    EXPECT_GT(events_logged(EV_JUMP), 0);
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevel, testing::Range(0, LEVEL_COUNT),
                         [](const testing::TestParamInfo<int>& info) { return level_name(info.param); });

TEST(Replay, TextRoundTripsRunsOfKeysAndRefusesALineThatIsNotARun) {
    std::vector<unsigned> frames = {0, 0, HOLD_A, HOLD_D | HOLD_SPACE, HOLD_D | HOLD_SPACE, HOLD_SPACE};
    std::string           text = replay_to_text(frames, "# note\n");
    EXPECT_EQ(text, "# note\n2 -\n1 a\n2 d+space\n1 space\n");
    std::vector<unsigned> back;
    std::string           why;
    ASSERT_TRUE(replay_from_text(text, &back, &why)) << why;
    EXPECT_EQ(back, frames);
    // a frame holds the runner's bits, as every replay file was made with: a 1, d 2, space 4
    ASSERT_TRUE(replay_from_text("# note\r\n\n1 a\n1 d\r\n1 space\n2 space+d+a\n", &back, &why)) << why;
    EXPECT_EQ(back, (std::vector<buttons_t>{1, 2, 4, 7, 7}));
    std::string three_million = "1000000 -\n1000000 a\n1000000 d\n";
    struct {
        std::string text, says;
    } refused[] = {
        {"3 d\n2 jump\n", "line 2: not \"count keys\": 2 jump"},
        {"-4 a\n", "line 1: not \"count keys\": -4 a"},
        {"0 a\n", "line 1: not \"count keys\": 0 a"},
        {"1000001 a\n", "line 1: not \"count keys\": 1000001 a"},
        {"2 a d\r\n", "line 1: not \"count keys\": 2 a d"},
        {"2 a++d\n", "line 1: not \"count keys\": 2 a++d"},
        {"2\n", "line 1: not \"count keys\": 2"},
        {three_million + "# over\n1 space\n", "line 5: more than 3000000 frames"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(replay_from_text(r.text, &back, &why)) << r.text;
        EXPECT_EQ(why, r.says) << r.text;
    }
    ASSERT_TRUE(replay_from_text(three_million, &back, &why)) << why;
    EXPECT_EQ(back.size(), replay_max_frames);
}

TEST(Replay, HoldingNothingIntoAGapLosesALife) {
    replay_outcome_t out = play_replay(plain_level(rows_of(40, 41, ".......")), std::vector<unsigned>(400, 0));
    EXPECT_FALSE(out.finished);
    EXPECT_GE(out.lives_lost, 1);
}

// The solver finds a way over a gap and a wall on a small search, taking the pickups it
// says it takes (the map it keeps per ship is the one the game plays), and reports a
// level without one; its frames searched and time go to standard error.
TEST(Solver, FindsAWayOverAGapAndAWallOrReportsNone) {
    std::vector<level_edit_t> rows = rows_of(30, 31, ".WWWWW.");
    for (const level_edit_t& e : rows_of(60, 62, "......."))
        rows.push_back(e);
    for (const level_edit_t& e : std::vector<level_edit_t>{{100, ".*****."}, {110, ".HHHHH."}, {120, ".*****."}})
        rows.push_back(e);
    std::string level = plain_level(rows), dir = temp_folder();
    write_text_file(dir + "/game.level.txt", level);
    write_text_file(dir + "/none.txt", plain_level(rows_of(40, 47, ".......")));
    std::string solve = tools_dir + "quovix-solve " + dir;
    std::string said = " > \"" + dir + "/solve.out\" 2> \"" + dir + "/solve.err\"";
    ASSERT_EQ(system((solve + "/game.level.txt " + dir + "/game.level.replay --beam 40" + said).c_str()), 0);
    replay_outcome_t out = play_replay(level, replay_in(dir + "/game.level.replay"));
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.lives_lost, 0);
    std::string told = read_text_file(dir + "/solve.out");
    int         taken = out.stars + out.lives_at_end - START_LIVES;
    EXPECT_GE(taken, 3);
    EXPECT_NE(told.find(", " + std::to_string(taken) + " stars and hearts taken"), std::string::npos) << told;
    EXPECT_NE(read_text_file(dir + "/solve.err").find("frames searched in "), std::string::npos);
    EXPECT_NE(system((solve + "/none.txt " + dir + "/none.replay --beam 20 --frames 900" + said).c_str()), 0);
}

// The grade on a way: a plain road needs no jump; a gap needs one, its window the frames
// around the way's press that still clear it, the grade 10 over that window; a way that
// does not finish with every life is no way to grade.
TEST(Solver, GradesAWayByTheJumpsItCannotDoWithoutAndTheirWindows) {
    std::string dir = temp_folder(), said = dir + "/grade.out";
    std::string solve = tools_dir + "quovix-solve ";
    // the line as printed, without the carriage return Windows' standard output adds
    auto line_said = [&said] {
        std::string line = read_text_file(said);
        return line.substr(0, line.find_first_of("\r\n"));
    };
    write_text_file(dir + "/plain.txt", plain_level());
    write_text_file(dir + "/plain.replay", "1300 -\n");
    ASSERT_EQ(system((solve + "--grade " + dir + "/plain.txt " + dir + "/plain.replay > \"" + said + "\"").c_str()), 0);
    EXPECT_EQ(line_said(), "plain.txt: grade 0.0 (0 jumps needed, narrowest window 0 frames, 1186 frames)");
    write_text_file(dir + "/gap.txt", plain_level(rows_of(60, 62, ".......")));
    ASSERT_EQ(system((solve + dir + "/gap.txt " + dir + "/gap.replay --beam 40 > \"" + said + "\"").c_str()), 0);
    ASSERT_EQ(system((solve + "--grade " + dir + "/gap.txt " + dir + "/gap.replay > \"" + said + "\"").c_str()), 0);
    std::string line = read_text_file(said);
    int         window = 0;
    double      grade = 0;
    ASSERT_EQ(sscanf(line.c_str(), "gap.txt: grade %lf (1 jumps needed, narrowest window %d frames", &grade, &window),
              2)
        << line;
    // three rows of gap leave a jump of about 30 frames some frames to press in
    EXPECT_GE(window, 2);
    EXPECT_LE(window, 30);
    EXPECT_NEAR(grade, 10.0 / window, 0.05);
    write_text_file(dir + "/short.replay", "100 -\n");
    EXPECT_NE(system((solve + "--grade " + dir + "/gap.txt " + dir + "/short.replay > \"" + said + "\"").c_str()), 0);
    EXPECT_EQ(line_said(), dir + "/short.replay: the way graded does not finish with every life");
}

// A search restores only what a frame moves (the map's pickups kept apart): after a side
// trip of other keys (walls met, pickups taken, a fall off the edge), the action list is
// the one left behind and the frames that follow play exactly as from the whole state.
TEST_P(ShippedLevel, TheMovingStateRestoredPlaysOnAsTheWholeState) {
    std::string           path = levels_dir + level_name(GetParam());
    std::vector<unsigned> frames = replay_in(path + ".replay");
    ASSERT_TRUE(sim_open(make_play_folder({read_text_file(path + ".txt")}).c_str()) && sim_start_play());
    auto trail = [&](size_t from) {
        std::vector<float> seen;
        for (size_t i = from; i < from + 90 && i < frames.size(); i++) {
            sim_frame(frames[i]);
            sim_state_t s = sim_state();
            for (float v : {(float)s.frame, s.x, s.y, s.z, (float)s.lives, (float)s.stars, (float)sim_events(),
                            game.ship.left_rate, game.ship.fall_factor, (float)game.timer.start_tick})
                seen.push_back(v);
        }
        return seen;
    };
    int side_trips = 0;
    for (size_t i = 0; i + 90 < frames.size(); i++) {
        if (i % 150 == 75) {
            sim_snapshot_t whole;
            sim_moving_t   moving;
            sim_save(&whole);
            sim_save_moving(&moving);
            for (int k = 0; k < 120; k++)
                sim_frame(side_trips % 2 ? HOLD_A : k % 40 < 20 ? HOLD_A | HOLD_SPACE : HOLD_D);
            sim_restore_moving(moving);
            game.level.pixels = whole.level.pixels;
            EXPECT_EQ(game.actions, whole.actions) << "from frame " << i;
            std::vector<float> from_moving = trail(i);
            sim_restore(whole);
            EXPECT_EQ(from_moving, trail(i)) << "from frame " << i;
            sim_restore(whole);
            side_trips++;
        }
        sim_frame(frames[i]);
    }
    EXPECT_GE(side_trips, 7);
    sim_close();
}

// At this scale level one's replay lifts the ship exactly onto its apex on a frame's
// rise, so the forward step sees the tie first: it must end the rise all the same.
TEST(ApexTie, EndsTheRiseAsReachingTheApexDoes) {
    std::string           text = read_text_file(levels_dir + "levelone.txt");
    std::vector<unsigned> frames = replay_in(levels_dir + "levelone.replay");
    ASSERT_TRUE(sim_open(make_play_folder({text}, "10.944756507873535").c_str()) && sim_start_play());
    int ties = 0;
    for (size_t i = 0; i < frames.size() && sim_state().frame < 720; i++) {
        int was_rising = game.ship.jump;
        ASSERT_TRUE(sim_frame(frames[i]));
        if (!was_rising || game.ship.jump || game.ship.pos[2] != game.ship.jump_apex)
            continue;
        ties++;
        EXPECT_EQ(sim_state().frame, 697);
        EXPECT_EQ(game.ship.jump_descending, 1);
        EXPECT_EQ(game.ship.rise_factor, RISE_FACTOR_FULL);
    }
    EXPECT_EQ(ties, 1);
    sim_close();
}
