// Broken resources dropped into a player's folder, through the real game: each
// one gives a clear message or is played around, never a crash, a hang, a
// sanitizer report or a torn results file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>

#include "e2e_support.h"
#include "support.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> lines_naming(const std::string& text, const std::string& what) {
    std::vector<std::string> found;
    for (const std::string& l : lines_of(text))
        if (l.find(what) != std::string::npos)
            found.push_back(l);
    return found;
}

// Sanitizer builds run these too: any report fails the case.
void expect_no_sanitizer_report(const game_run& run) {
    std::string err = read_text_file(run.err_path);
    EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
    EXPECT_EQ(err.find("runtime error"), std::string::npos) << err;
}

std::string resources_of(const std::string& bin) { return bin + "/../resources/"; }

// A level whose finish starts on row 2: the ship reaches it a few frames into play.
std::string short_level() { return plain_level({{2, ".FFFFF."}, {3, ".FFFFF."}}); }

// Starts the game in bin, chooses play, waits for its end (with `esc_in_play`, an Esc once
// play is on the screen).
void play(game_run* run, const std::string& bin, bool esc_in_play, double end_within_s) {
    ASSERT_TRUE(start_game(run, bin));
    ASSERT_TRUE(wait_for_window(run)) << game_output(*run) << read_text_file(run->err_path);
    // the menu stands still once it is drawn; play moves the screen away from it
    screen_shot menu;
    screen_shot shot = wait_for_screen([&](const screen_shot& s) {
        bool same = s.rgb == menu.rgb;
        menu = s;
        return same;
    });
    press_key("Return");
    if (esc_in_play) {
        ASSERT_GT(block_difference(wait_for_screen([&](const screen_shot& s) {
                                       return block_difference(s, shot, 0, 0, s.width, s.height) > 2.0;
                                   }),
                                   shot, 0, 0, shot.width, shot.height),
                  2.0)
            << "play never showed";
        press_key("Escape");
    }
    ASSERT_TRUE(wait_for_exit(run, end_within_s)) << "the game did not end";
    expect_no_sanitizer_report(*run);
}

template <typename T> void name_cases(const T& c, std::ostream* os) { *os << c.name; }

}  // namespace

// --- level one: refused with one line and status 1 ------------------------------

struct level_one_case {
    const char* name;
    const char* fault;   // words the reason on standard error holds
    std::function<void(std::vector<uint8_t>&)> spoil;   // empty: the file is removed
};
static void PrintTo(const level_one_case& c, std::ostream* os) { name_cases(c, os); }

static const level_one_case level_one_cases[] = {
    {"missing", "cannot open", nullptr},
    {"cut_in_headers", "headers", [](std::vector<uint8_t>& b) { b.resize(30); }},
    {"cut_in_pixels", "pixels", [](std::vector<uint8_t>& b) { b.resize(54 + 100); }},
    {"height_zero", "height 0", [](std::vector<uint8_t>& b) { put32(b, 22, 0); }},
    {"height_negative", "height -240", [](std::vector<uint8_t>& b) { put32(b, 22, -240); }},
    {"width_70000", "width 70000", [](std::vector<uint8_t>& b) { put32(b, 18, 70000); }},
    {"image_size_zero", "image size 0", [](std::vector<uint8_t>& b) { put32(b, 34, 0); }},
    {"offset_past_end", "offset", [](std::vector<uint8_t>& b) { put32(b, 10, (int32_t)b.size() + 100); }},
    {"bits_32", "32 bits", [](std::vector<uint8_t>& b) { b[28] = 32; }},
};

using LevelOne = testing::TestWithParam<level_one_case>;

TEST_P(LevelOne, RefusedWithOneLineAndStatusOne) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    const level_one_case& c = GetParam();
    std::string bin = make_play_folder({plain_level()});
    std::string path = resources_of(bin) + "levelone.bmp";
    std::vector<uint8_t> bytes = level_bmp(plain_level());
    if (c.spoil) {
        c.spoil(bytes);
        write_binary_file(path, bytes);
    } else {
        fs::remove(path);
    }
    game_run run;
    ASSERT_TRUE(start_game(&run, bin));
    ASSERT_TRUE(wait_for_exit(&run, 30)) << "the game did not end";
    std::string out = game_output(run), err = read_text_file(run.err_path);
    EXPECT_EQ(run.status, 1) << out << err;
    EXPECT_EQ(lines_naming(out, "ERROR: cannot open input file with the scene data").size(), 1u) << out;
    EXPECT_EQ(out.find("Bitmap size"), std::string::npos) << out;
    // the display's driver may add lines of its own; the game says one
    std::vector<std::string> err_lines = lines_naming(err, "levelone.bmp");
    ASSERT_EQ(err_lines.size(), 1u) << err;
    EXPECT_NE(err_lines[0].find(c.fault), std::string::npos) << err;
    expect_no_sanitizer_report(run);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, LevelOne, testing::ValuesIn(level_one_cases),
                         [](const testing::TestParamInfo<level_one_case>& i) { return std::string(i.param.name); });

// --- a later level missing or of another size, or a folder the game cannot write ---

struct later_case {
    const char* name;
    bool        missing;     // otherwise of another size than level one
    bool        read_only;   // the working folder: no results file can be written
};
static void PrintTo(const later_case& c, std::ostream* os) { name_cases(c, os); }

// Makes bin unwritable for the game; as root, where permissions do not bind, a
// folder in the way of the results file's temporary makes every write fail alike.
static void make_unwritable(const std::string& bin) {
    chmod(bin.c_str(), 0555);
    if (FILE* p = fopen((bin + "/probe").c_str(), "w")) {
        fclose(p);
        remove((bin + "/probe").c_str());
        fs::create_directory(bin + "/player.s.tmp");
    }
}

using LaterLevel = testing::TestWithParam<later_case>;

TEST_P(LaterLevel, EndsWithOneLineAndTheResultsSoFar) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    std::string bin = make_play_folder({short_level()});
    std::string path = resources_of(bin) + "leveltwo.bmp";
    if (GetParam().missing) {
        fs::remove(path);
    } else {
        std::string wide;
        for (int r = 0; r < 240; r++)
            wide += ".#######.\n";
        write_binary_file(path, level_bmp(wide));
    }
    if (GetParam().read_only)
        make_unwritable(bin);
    game_run run;
    // level one ends at once; the next level comes after the fly-off and a pause
    play(&run, bin, false, 60);
    chmod(bin.c_str(), 0755);
    EXPECT_EQ(run.status, 1);
    std::string both = game_output(run) + read_text_file(run.err_path);
    EXPECT_EQ(lines_naming(both, "leveltwo.bmp").size(), 1u) << both;
    std::string results = read_text_file(bin + "/player.s");
    if (GetParam().read_only) {
        EXPECT_FALSE(fs::exists(bin + "/player.s"));
    } else {
        EXPECT_TRUE(level_one_record_only(results, 0, 5)) << "player.s:\n" << results;
    }
}

INSTANTIATE_TEST_SUITE_P(BadFiles, LaterLevel,
                         testing::Values(later_case{"missing", true, false}, later_case{"another_size", false, false},
                                         later_case{"missing_in_read_only_folder", true, true}),
                         [](const testing::TestParamInfo<later_case>& i) { return std::string(i.param.name); });

// --- models, pictures and scale.txt the game plays around -------------------------
// (a missing model is named window-free in test_startup.cpp; what an unusable
// scale does to the speed is measured in test_scale.cpp)

struct plays_on_case {
    const char* name;
    std::function<void(const std::string& bin)> spoil;
};
static void PrintTo(const plays_on_case& c, std::ostream* os) { name_cases(c, os); }

// Spoilers: the same text in every model file or picture, or in scale.txt (none: no file).
static std::function<void(const std::string&)> models(const std::string& text) {
    return [text](const std::string& bin) {
        for (const char* m : {"spaceship.obj", "spaceshipleft.obj", "spaceshipright.obj", "star.obj", "heart.obj"})
            write_text_file(resources_of(bin) + m, text);
    };
}

static std::function<void(const std::string&)> pictures(size_t bytes) {
    return [bytes](const std::string& bin) {
        for (const char* p : {"background.bmp", "gameover.bmp", "playgame.bmp", "exitgame.bmp"})
            write_text_file(resources_of(bin) + "1366x768/" + p, std::string(bytes, '\x40'));
    };
}

static std::function<void(const std::string&)> scale(const char* text) {
    return [text](const std::string& bin) {
        if (text)
            write_text_file(bin + "/scale.txt", text);
        else
            fs::remove(bin + "/scale.txt");
    };
}

static std::string garbage(size_t n) {
    std::mt19937 bytes(7);
    std::string s(n, 0);
    for (char& c : s)
        c = (char)(bytes() & 0xFF);
    return s;
}

static const std::string model_head = "v 0 0 0\nv 0.001 0 0\nv 0 0.001 0\nvt 0 0\nvn 0 0 1\n";
static const plays_on_case plays_on_cases[] = {
    {"model_empty", models("")},
    {"model_binary_garbage", models(garbage(4096))},
    {"model_face_index_zero", models(model_head + "f 0/0/0 0/0/0 0/0/0\nf 1/0/1 2/1/0 3/1/1\n")},
    {"model_face_index_negative", models(model_head + "f -4/-1/-1 -2/-1/-1 -1/-1/-1\nf -1/-2/-1 1/1/1 2/1/1\n")},
    {"model_face_index_too_large", models(model_head + "f 1/1/1 2/1/1 4/1/1\nf 1/2/1 2/1/1 3/1/1\n"
                                          "f 99999999999/1/1 2/1/1 3/1/1\nf 2147483647/1/1 2/1/1 3/1/1\n")},
    {"model_line_of_100_kB", models(model_head + "f " + std::string(100000, '1') + "/1/1 2/1/1 3/1/1\nv " +
                                    std::string(100000, '9') + "\nf 1/1/1 2/1/1 3/1/1\n")},
    {"picture_empty", pictures(0)},
    {"picture_short", pictures(1000)},
    {"scale_missing", scale(nullptr)},
    {"scale_empty", scale("")},
    {"scale_zero", scale("0\n")},
    {"scale_minus_three", scale("-3\n")},
    {"scale_nan", scale("nan\n")},
    {"scale_overflowing", scale("1e400\n")},
    {"scale_text", scale("fast please\n")},
};

using PlaysOn = testing::TestWithParam<plays_on_case>;

TEST_P(PlaysOn, GamePlaysAndLeavesWithStatusZero) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    // stars and hearts on the track, so their models are drawn in play
    std::string bin = make_play_folder({plain_level({{6, ".#*H*#."}, {9, ".H#*#H."}})});
    GetParam().spoil(bin);
    game_run run;
    play(&run, bin, true, 20);
    EXPECT_EQ(run.status, 0);
    std::string out = game_output(run);
    EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    EXPECT_NE(out.find("Bitmap size"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(BadFiles, PlaysOn, testing::ValuesIn(plays_on_cases),
                         [](const testing::TestParamInfo<plays_on_case>& i) { return std::string(i.param.name); });
