// Game recordings: every command of a game kept as text, read back exactly, and
// played again without a window to the same end and the same "player.s".
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

#include "app/headless.h"
#include "app/keeping.h"
#include "app/recorder.h"
#include "assets/recording.h"
#include "assets/replay_text.h"
#include "support.h"

static bool same_command(const command_t& a, const command_t& b) {
    uint32_t scale_a, scale_b;
    memcpy(&scale_a, &a.speed_scale, 4);
    memcpy(&scale_b, &b.speed_scale, 4);
    return a.held == b.held && a.pressed == b.pressed && a.focused == b.focused && a.now_ms == b.now_ms &&
           scale_a == scale_b;
}

// The frame where two lists of commands first differ, or -1.
static long first_difference(const std::vector<command_t>& a, const std::vector<command_t>& b) {
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        if (!same_command(a[i], b[i]))
            return (long)i;
    return a.size() == b.size() ? -1 : (long)std::min(a.size(), b.size());
}

static recording_t read_back(const recording_t& r) {
    recording_t again;
    std::string why;
    EXPECT_TRUE(recording_from_text(recording_to_text(r), &again, &why)) << why;
    return again;
}

// A game's worth of commands as a window gives them: keys changing every few frames,
// the clock stepping 16 or 17 ms, a level change's wait, a pause and a lost focus.
static recording_t window_like_game(int frames, int32_t clock_start) {
    std::mt19937 rng(7);
    recording_t  r{};
    r.game_version = "1.0.0";
    for (int i = 0; i < LEVEL_COUNT; i++)
        r.levels[i] = {"level" + std::to_string(i + 1) + ".bmp", content_hash(std::to_string(i))};
    r.screen_w = 1366;
    r.screen_h = 768;
    command_t cmd{0, 0, true, clock_start, 1.0f};
    buttons_t before = 0;
    for (int i = 0; i < frames; i++) {
        if (rng() % 4 == 0)
            cmd.held = rng() % 8 & replay_buttons;
        if (i == 3000 || i == 3001)
            cmd.held |= HOLD_P;
        cmd.focused = i < 5000 || i > 5200;
        cmd.pressed = cmd.held & ~before;
        before = cmd.held;
        // the clock wraps as the game's does, through unsigned sums
        cmd.now_ms = (int32_t)((uint32_t)cmd.now_ms + (i == 2000 ? 2500u : 16u + rng() % 2));
        r.frames.push_back(cmd);
    }
    return r;
}

TEST(RecordingText, KeepsEveryFieldOfEveryCommand) {
    const float  scales[] = {1.0f, 0.1f, std::nextafter(1.5f, 2.0f), 1e-40f, 3e38f, 2.0f};
    std::mt19937 rng(11);
    recording_t  r = window_like_game(10, INT32_MAX - 40);   // the clock wraps
    for (int i = 0; i < 3000; i++) {
        command_t cmd;
        cmd.held = rng() & ((1u << BUTTON_COUNT) - 1);
        cmd.pressed = rng() % 3 ? cmd.held & ~r.frames.back().held : rng() & ((1u << BUTTON_COUNT) - 1);
        cmd.focused = rng() % 5 != 0;
        int32_t steps[] = {16, 17, -1, 0, 62, 100000, INT32_MIN, INT32_MAX};
        // now and then the same step over and over, packed, then a step of a digit's character
        int32_t step = i % 200 < 20 ? (i % 200 < 19 ? steps[(i / 200) % 8] : (i / 200) % 10) : steps[rng() % 8];
        cmd.now_ms = (int32_t)((uint32_t)r.frames.back().now_ms + (uint32_t)step);
        cmd.speed_scale = scales[rng() % 6];
        r.frames.push_back(cmd);
    }
    r.end.records[2] = {3, 4, 56789, 2};
    r.end.total_stars = -7;
    r.end.total_time = INT32_MAX;
    r.points = -12;
    recording_t again = read_back(r);
    EXPECT_EQ(first_difference(again.frames, r.frames), -1);
    EXPECT_EQ(memcmp(&again.end, &r.end, sizeof(r.end)), 0);
    EXPECT_EQ(again.points, r.points);
    EXPECT_EQ(again.screen_w, 1366);
    EXPECT_EQ(again.levels[4].hash, r.levels[4].hash);
    EXPECT_EQ(again.game_version, "1.0.0");
}

TEST(RecordingText, TwoMinutesOfPlayStaySmall) {
    recording_t r = window_like_game(7200, 123456);
    std::string text = recording_to_text(r);
    EXPECT_LT(text.size(), 64u * 1024);
    EXPECT_EQ(first_difference(read_back(r).frames, r.frames), -1);
}

TEST(RecordingText, LevelReplaysReadAsBefore) {
    std::vector<buttons_t> frames;
    std::string            why;
    ASSERT_TRUE(replay_from_text("# note\n3 a+space\r\n2 -\n", &frames, &why)) << why;
    EXPECT_EQ(frames, (std::vector<buttons_t>{5, 5, 5, 0, 0}));
    // a replay holds the ship's keys only; the recording's other keys are not its
    EXPECT_FALSE(replay_from_text("3 w\n", &frames, &why));
    EXPECT_EQ(why, "line 1: not \"count keys\": 3 w");
    EXPECT_FALSE(text_is_recording("3 a\n"));
    EXPECT_EQ(content_hash(""), "cbf29ce484222325");
}

// The keys a random hand may use, and how a game is to be played.
struct hand_t {
    unsigned      hold;
    unsigned char key;
};
static const hand_t hands[] = {{HOLD_A, 'a'}, {HOLD_D, 'd'}, {HOLD_SPACE, ' '}, {HOLD_P, 'p'}, {HOLD_M, 'm'}};

struct play_t {
    const char* name;
    bool        gap;   // levels with a gap no ship crosses without a jump
    unsigned    seed;
    unsigned    keys;     // the hands used
    bool        upsets;   // focus lost and the scale changed now and then
    int         esc_at;   // the frame Esc goes down, -1 for none
    const char* ending;
    int         menu_frames = 0;   // of the ship's keys on the menu first, which play starts from
    bool        again = false;     // the game recorded is the one after play again
};

// Cases named in the test's output by their names, not their bytes.
static void PrintTo(const play_t& p, std::ostream* os) { *os << p.name; }

static const char* ending_now() {
    if (!game.flow.game_over)
        return "left";
    return game.flow.lives > 0 ? "won" : "lost";
}

static void random_hands(std::mt19937& rng, unsigned keys, bool down[]) {
    for (size_t h = 0; h < sizeof(hands) / sizeof(hands[0]); h++) {
        if (!(keys & hands[h].hold))
            continue;
        unsigned roll = rng() % 100;
        if (roll < 3) {   // a tap between two frames
            sim_key(hands[h].key, true);
            sim_key(hands[h].key, false);
        } else if (roll < 6) {
            down[h] = !down[h];
            sim_key(hands[h].key, down[h]);
        }
    }
}

static void upset(int frame) {
    if (frame % 700 == 350)
        sim_focus(false);
    if (frame % 700 == 420)
        sim_focus(true);
    // back at the keyboard, the player goes on
    if (frame % 700 == 421 && game.flow.paused) {
        sim_key('p', true);
        sim_key('p', false);
    }
    if (frame % 500 == 250)
        write_text_file("scale.txt", frame % 1000 == 250 ? "1.5" : "0.75");
}

static void on_the_menu(const play_t& p, std::mt19937& rng, bool down[]) {
    sim_frame(HOLD_S);
    sim_frame(HOLD_W);
    sim_frame(0);
    for (int frame = 0; frame < p.menu_frames; frame++) {
        random_hands(rng, HOLD_A | HOLD_D | HOLD_SPACE, down);
        sim_frame_as_typed();
    }
    EXPECT_TRUE(sim_start_play());
}

// Plays from the menu to the game's end; the recording it left.
static recording_t play_by_hand(const play_t& p, const std::string& bin) {
    EXPECT_TRUE(sim_open(bin.c_str()));
    std::mt19937 rng(p.seed);
    bool         down[5] = {};
    on_the_menu(p, rng, down);
    bool first = p.again;
    for (int frame = 0; frame < 30000; frame++) {
        random_hands(rng, p.keys, down);
        if (p.upsets)
            upset(frame);
        if (frame == p.esc_at || frame == 29999)
            sim_key(27, true);
        sim_frame_as_typed();
        if (!recorder_game_ended())
            continue;
        if (!first)
            return recorder_last();
        first = false;
        for (int i = 0; i < 1000 && !game.flow.game_over; i++)
            sim_frame(0);
        sim_frame(0);
        sim_frame(HOLD_ENTER);   // the summary's play again, then the menu anew
        std::fill(down, down + 5, false);
        on_the_menu(p, rng, down);
    }
    ADD_FAILURE() << "the game did not end";
    return {};
}

struct RecordingPlay : testing::TestWithParam<play_t> {
    void TearDown() override { sim_close(); }
};

TEST_P(RecordingPlay, PlaysAgainToTheSameEnd) {
    const play_t&             p = GetParam();
    std::vector<level_edit_t> rows = {{20, ".FFFFF."}};
    if (p.gap)
        rows = {{8, "......."}, {9, "......."}, {10, "......."}, {11, "......."}};
    std::string bin = make_play_folder({plain_level(rows)});
    recording_t played = play_by_hand(p, bin);
    EXPECT_STREQ(ending_now(), p.ending);
    std::string results = read_text_file(bin + "/player.s");
    results_t   end = game.results;

    EXPECT_EQ(memcmp(&played.end, &end, sizeof(end)), 0);
    sim_close();

    recording_t again = read_back(played);
    ASSERT_EQ(first_difference(again.frames, played.frames), -1);
    std::remove((bin + "/player.s").c_str());
    ASSERT_TRUE(sim_open(bin.c_str()));
    std::string why;
    ASSERT_TRUE(sim_play_recording(again, &why)) << why;
    EXPECT_STREQ(ending_now(), p.ending);
    EXPECT_EQ(recorder_last().frames.size(), played.frames.size());
    EXPECT_EQ(memcmp(&game.results, &end, sizeof(end)), 0);
    EXPECT_EQ(recorder_last().points, played.points);
    EXPECT_EQ(read_text_file(bin + "/player.s"), results);
}

static const unsigned MENU_MINUTES = 10;

// Steering held on the menu goes on into play: the recording keeps the menu's frames
// since it began, so the ship takes the same path, to the bit.
TEST(RecordingPlay, SteeringHeldOnTheMenuCarriesIntoPlayAsRecorded) {
    std::string bin = make_play_folder({plain_level()});
    ASSERT_TRUE(sim_open(bin.c_str()));
    for (int i = 0; i < 30; i++)
        sim_frame(i < 10 ? 0 : HOLD_A);
    for (unsigned i = 0; i < MENU_MINUTES * 3600; i++)
        sim_frame(0);
    ASSERT_TRUE(sim_start_play());
    std::vector<float> path;
    for (int i = 0; i < 30; i++, path.push_back(sim_state().x))
        sim_frame(0);
    sim_frame(HOLD_ESC);
    ASSERT_TRUE(recorder_game_ended());
    recording_t played = read_back(recorder_last());
    EXPECT_EQ(played.frames.size(), 30u + MENU_MINUTES * 3600 + 1 + 30 + 1) << "every frame of the menu kept";
    EXPECT_LT(recording_to_text(played).size(), 2000u) << "a menu's minutes pack into a run";
    sim_close();
    ASSERT_TRUE(sim_open(bin.c_str()));
    std::vector<float> again;
    for (const command_t& cmd : played.frames) {
        bool started = game.flow.game_started;
        sim_command(cmd);
        if (started && again.size() < path.size())
            again.push_back(sim_state().x);
    }
    EXPECT_EQ(again, path);
    sim_close();
}

static const unsigned SHIP_KEYS = HOLD_A | HOLD_D | HOLD_SPACE;
INSTANTIATE_TEST_SUITE_P(Games, RecordingPlay,
                         testing::Values(play_t{"won_jumping", false, 1, HOLD_SPACE | HOLD_M, true, -1, "won"},
                                         play_t{"won_pausing", false, 2, HOLD_SPACE | HOLD_P, true, -1, "won"},
                                         play_t{"lost_in_a_gap", true, 3, HOLD_M, false, -1, "lost"},
                                         play_t{"steered", false, 4, SHIP_KEYS | HOLD_P, true, -1, "won"},
                                         play_t{"steered_again", false, 5, SHIP_KEYS, false, -1, "won"},
                                         play_t{"left_with_esc", false, 6, SHIP_KEYS, false, 400, "left"},
                                         play_t{"keys_held_on_the_menu", false, 7, SHIP_KEYS, false, -1, "won", 300},
                                         play_t{"after_play_again", true, 8, SHIP_KEYS, true, -1, "lost", 200, true}),
                         [](const testing::TestParamInfo<play_t>& info) { return std::string(info.param.name); });

// A short game left with Esc, as text, and the folder it was played in.
static std::string short_game(std::string* bin) {
    *bin = make_play_folder({plain_level()});
    EXPECT_TRUE(sim_open(bin->c_str()) && sim_start_play());
    for (int i = 0; i < 40; i++)
        sim_frame(i % 9 == 0 ? HOLD_SPACE : 0);
    sim_frame(HOLD_ESC);
    EXPECT_TRUE(recorder_game_ended());
    sim_close();
    return recording_to_text(recorder_last());
}

static std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct bad_recording_t {
    const char*                                    name;
    std::function<std::string(const std::string&)> edit;
    const char*                                    why;   // what the reason says
};

static void PrintTo(const bad_recording_t& b, std::ostream* os) { *os << b.name; }

struct RecordingRefused : testing::TestWithParam<bad_recording_t> {
    void TearDown() override { sim_close(); }
};

// Read, then played: whichever refuses gives one line.
TEST_P(RecordingRefused, WithAOneLineReason) {
    std::string bin, why;
    std::string text = GetParam().edit(short_game(&bin));
    recording_t r;
    bool        taken = recording_from_text(text, &r, &why);
    if (taken) {
        ASSERT_TRUE(sim_open(bin.c_str()));
        taken = sim_play_recording(r, &why);
    }
    EXPECT_FALSE(taken);
    EXPECT_NE(why.find(GetParam().why), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
}

static std::string last_lines_off(const std::string& text, int lines) {
    size_t at = text.size() - 1;
    for (int i = 0; i < lines; i++)
        at = text.rfind('\n', at - 1);
    return text.substr(0, at + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Bad, RecordingRefused,
    testing::Values(
        bad_recording_t{"cut_in_the_headers", [](const std::string& t) { return t.substr(0, t.find("screen")); },
                        "no \"screen\" line"},
        bad_recording_t{"cut_in_a_line", [](const std::string& t) { return t.substr(0, t.size() - 3); },
                        ": not \"count keys"},
        bad_recording_t{"last_frames_missing", [](const std::string& t) { return last_lines_off(t, 1); },
                        "the game goes on after the last frame"},
        bad_recording_t{"frames_past_the_end", [](const std::string& t) { return t + "5 - ggggg\n"; },
                        "the game ended at frame "},
        bad_recording_t{"over_a_mebibyte", [](const std::string& t) { return t + std::string(1 << 20, '#'); },
                        "more than 1048576 bytes"},
        bad_recording_t{"unknown_key", [](const std::string& t) { return t + "3 a+q ggg\n"; }, ": not \"count keys"},
        bad_recording_t{"steps_packed_past_the_frames", [](const std::string& t) { return t + "3 a g{4}\n"; },
                        "not \"count keys"},
        bad_recording_t{"steps_packed_from_nothing", [](const std::string& t) { return t + "3 a {3}\n"; },
                        "not \"count keys"},
        bad_recording_t{"steps_not_frames", [](const std::string& t) { return t + "3 a gg\n"; },
                        ": 3 frames but 2 clock steps"},
        bad_recording_t{"bad_scale", [](const std::string& t) { return t + "1 a scale=nan g\n"; },
                        ": not a pressed key, focus or scale: scale=nan"},
        bad_recording_t{"future_version",
                        [](const std::string& t) { return replaced(t, "recording 1", "recording 2"); },
                        "line 1: recording version 2 is newer"},
        bad_recording_t{"not_a_recording", [](const std::string& t) { return replaced(t, "quovix", "qvx"); },
                        "line 1: not \"quovix recording N\""},
        bad_recording_t{"a_sixth_level", [](const std::string& t) { return replaced(t, "level 5", "level 6"); },
                        "line 7: no level 6: levels are 1 to 5"},
        bad_recording_t{"a_level_twice", [](const std::string& t) { return replaced(t, "level 5", "level 4"); },
                        "line 7: a second \"level 4\" line"},
        bad_recording_t{"another_level",
                        [](std::string t) {
                            size_t at = t.find("levelthree.bmp ") + 15;
                            t[at] = t[at] == '0' ? '1' : '0';
                            return t;
                        },
                        "level 3 (levelthree.bmp) is not the one it was recorded on"}),
    [](const testing::TestParamInfo<bad_recording_t>& info) { return std::string(info.param.name); });

// Games kept beside bin/ as the window keeps them: the runner's frames, each followed by keep_frame.
static bool kept_frame(unsigned held) {
    bool going = sim_frame(held);
    keep_frame();
    return going;
}

static void a_game_left_at_once(const std::string& bin) {
    ASSERT_TRUE(sim_open(bin.c_str()));
    kept_frame(HOLD_ENTER);
    for (int i = 0; i < 5; i++)
        kept_frame(0);
    kept_frame(HOLD_ESC);
    sim_close();
}

// The last 50 games stay, however many a second brings, and so does an older one a best names.
TEST(KeptGames, TheLastFiftyStayAndAGameThatSetABest) {
    std::string bin = make_play_folder({plain_level({{20, ".FFFFF."}})});
    ASSERT_TRUE(sim_open(bin.c_str()));
    keeping_start();
    kept_frame(HOLD_ENTER);
    for (int i = 0; i < 3000 && !event_raised(EV_LEVEL_FINISHED); i++)
        kept_frame(0);
    kept_frame(HOLD_ESC);
    sim_close();
    std::string records = read_text_file(bin + "/../records.txt");
    ASSERT_EQ(kept_games(bin).size(), 1u);
    std::string best = kept_games(bin)[0];
    EXPECT_NE(records.find(" time "), std::string::npos) << records;
    EXPECT_NE(records.find(best), std::string::npos) << records;
    for (int game = 0; game < 55; game++)
        a_game_left_at_once(bin);
    std::vector<std::string> names = kept_games(bin);
    EXPECT_EQ(names.size(), 51u);
    EXPECT_NE(std::find(names.begin(), names.end(), best), names.end()) << "the best's game went";
    // the records screen lists the newest first: the last game played heads the games
    std::string last = recording_to_text(recorder_last());
    ASSERT_TRUE(sim_open(bin.c_str()));
    game.requests.list_records = true;
    list_records_when_asked();
    std::string newest = records_line_replay(LEVEL_COUNT + 1);
    sim_close();
    EXPECT_EQ(read_text_file(bin + "/" + newest), last);
}

// A replays/ that is a file: said once, the file left as it was, and the games go on.
TEST(KeptGames, AReplaysFolderThatIsAFileIsSaidOnceAndLeftAlone) {
    std::string bin = make_play_folder({plain_level()});
    write_text_file(bin + "/../replays", "the player's own");
    ASSERT_TRUE(sim_open(bin.c_str()));
    keeping_start();
    sim_close();
    testing::internal::CaptureStderr();
    a_game_left_at_once(bin);
    a_game_left_at_once(bin);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot keep replays"), std::string::npos) << said;
    EXPECT_EQ(said.find("cannot keep replays"), said.rfind("cannot keep replays")) << said;
    EXPECT_EQ(read_text_file(bin + "/../replays"), "the player's own");
}
