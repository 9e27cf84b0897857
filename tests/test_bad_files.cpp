// Broken resources dropped into a player's folder, through the real game: each
// one gives a clear message or is played around, never a crash, a hang, a
// sanitizer report or a torn results file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "assets/levelsource.h"
#include "e2e_support.h"
#include "support.h"

// after gtest, whose headers use names that Xlib defines as macros
#include <X11/Xlib.h>

namespace fs = std::filesystem;

// An X server resets when its last client leaves, and a game starting during the
// reset cannot open the display: this connection stays for the whole run.
static Display* const held_display = have_display() ? XOpenDisplay(nullptr) : nullptr;

static const char* const model_names[5] = {"spaceship.obj", "spaceshipleft.obj", "spaceshipright.obj", "star.obj",
                                           "heart.obj"};
static const char* const picture_names[4] = {"background.bmp", "gameover.bmp", "playgame.bmp", "exitgame.bmp"};

static std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

static std::vector<std::string> lines_naming(const std::string& text, const std::string& what) {
    std::vector<std::string> found;
    for (const std::string& l : lines_of(text))
        if (l.find(what) != std::string::npos)
            found.push_back(l);
    return found;
}

static std::string game_errors(const game_run& run) { return read_text_file(run.err_path); }

// Sanitizer builds run these too: any report fails the case.
static void expect_no_sanitizer_report(const game_run& run) {
    std::string err = game_errors(run);
    EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
    EXPECT_EQ(err.find("runtime error"), std::string::npos) << err;
}

static std::string resources_of(const std::string& bin) { return bin + "/../resources/"; }

static void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (8 * i));
}

static std::vector<uint8_t> level_bmp(const std::string& text) {
    level_grid_t grid;
    std::string why;
    if (!level_from_text(text, &grid, &why))
        ADD_FAILURE() << "bad test level: " << why;
    return level_to_bmp(grid);
}

// True when text is five whole lines: level one's record with the given stars
// and lives (any time), then four untouched records.
static bool level_one_record_only(const std::string& text, int stars, int lives) {
    std::string rest = "0 0 0 0\n0 0 0 0\n0 0 0 0\n0 0 0 0\n";
    std::string head = "1 " + std::to_string(stars) + " ";
    std::string tail = " " + std::to_string(lives) + "\n";
    size_t first_end = text.find('\n');
    if (first_end == std::string::npos || text.substr(first_end + 1) != rest)
        return false;
    std::string first = text.substr(0, first_end + 1);
    if (first.size() <= head.size() + tail.size() || first.compare(0, head.size(), head) != 0 ||
        first.compare(first.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    std::string time = first.substr(head.size(), first.size() - head.size() - tail.size());
    return time.find_first_not_of("0123456789") == std::string::npos;
}

// A level whose finish starts on row 2: the ship reaches it a few frames into play.
static std::string short_level() { return plain_level({{2, ".FFFFF."}, {3, ".FFFFF."}}); }

// Stars and hearts on the track, so their models are drawn in play.
static std::string level_with_pickups() { return plain_level({{6, ".#*H*#."}, {9, ".H#*#H."}}); }

// Starts the game, chooses play on the menu, lets it run, leaves with Esc.
static void play_then_leave(game_run* run, const std::string& bin) {
    ASSERT_TRUE(start_game(run, bin));
    ASSERT_TRUE(wait_for_window(run)) << "no window; output:\n" << game_output(*run) << game_errors(*run);
    press_key("Return");
    sleep_ms(1500);
    press_key("Escape");
    ASSERT_TRUE(wait_for_exit(run)) << "still running after Esc";
}

// --- level one ---------------------------------------------------------------

struct level_one_case {
    const char* name;
    const char* fault;   // words the reason on standard error holds
    std::function<void(std::vector<uint8_t>&)> spoil;   // empty: the file is removed
};

static const level_one_case level_one_cases[] = {
    {"missing", "cannot open", nullptr},
    {"cut_in_headers", "headers", [](std::vector<uint8_t>& b) { b.resize(30); }},
    {"cut_in_pixels", "pixels", [](std::vector<uint8_t>& b) { b.resize(54 + 100); }},
    {"height_zero", "height 0", [](std::vector<uint8_t>& b) { put32(b, 22, 0); }},
    {"height_negative", "height -240", [](std::vector<uint8_t>& b) { put32(b, 22, (uint32_t)-240); }},
    {"width_70000", "width 70000", [](std::vector<uint8_t>& b) { put32(b, 18, 70000); }},
    {"image_size_zero", "image size 0", [](std::vector<uint8_t>& b) { put32(b, 34, 0); }},
    {"offset_past_end", "offset", [](std::vector<uint8_t>& b) { put32(b, 10, (uint32_t)b.size() + 100); }},
    {"bits_32", "32 bits", [](std::vector<uint8_t>& b) { b[28] = 32; }},
};

// test lists show the case's name, not its bytes
static void PrintTo(const level_one_case& c, std::ostream* os) { *os << c.name; }

using LevelOne = testing::TestWithParam<level_one_case>;

TEST_P(LevelOne, RefusedWithOneLineAndStatusOne) {
    const level_one_case& c = GetParam();
    std::string bin = make_play_folder({plain_level()});
    std::string path = resources_of(bin) + "levelone.bmp";
    if (c.spoil) {
        std::vector<uint8_t> bytes = level_bmp(plain_level());
        c.spoil(bytes);
        write_binary_file(path, bytes);
    } else {
        fs::remove(path);
    }
    game_run run;
    ASSERT_TRUE(start_game(&run, bin));
    ASSERT_TRUE(wait_for_exit(&run, 30)) << "the game did not end";
    std::string out = game_output(run), err = game_errors(run);
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

// --- a later level -------------------------------------------------------------

struct later_level_case {
    const char* name;
    bool        missing;   // otherwise of another size than level one
};

static void PrintTo(const later_level_case& c, std::ostream* os) { *os << c.name; }

using LaterLevel = testing::TestWithParam<later_level_case>;

TEST_P(LaterLevel, EndsWithOneLineAndTheResultsSoFar) {
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
    game_run run;
    ASSERT_TRUE(start_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run) << game_errors(run);
    press_key("Return");
    // level one ends at once; the next level comes after the fly-off and a pause
    ASSERT_TRUE(wait_for_exit(&run, 60)) << "the game did not end at level two";
    EXPECT_EQ(run.status, 1);
    std::string both = game_output(run) + game_errors(run);
    EXPECT_EQ(lines_naming(both, "leveltwo.bmp").size(), 1u) << both;
    std::string results = read_text_file(bin + "/player.s");
    EXPECT_TRUE(level_one_record_only(results, 0, 5))
        << "player.s:\n" << results;
    expect_no_sanitizer_report(run);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, LaterLevel, testing::Values(later_level_case{"missing", true},
                                                               later_level_case{"another_size", false}),
                         [](const testing::TestParamInfo<later_level_case>& i) { return std::string(i.param.name); });

// --- models --------------------------------------------------------------------

static std::string garbage(size_t n) {
    std::mt19937 bytes(7);
    std::string s(n, 0);
    for (char& c : s)
        c = (char)(bytes() & 0xFF);
    return s;
}

struct model_case {
    const char* name;
    std::string text;   // written into all five model files
};

static const std::string model_head = "v 0 0 0\nv 0.001 0 0\nv 0 0.001 0\nvt 0 0\nvn 0 0 1\n";
static const model_case model_cases[] = {
    {"empty", ""},
    {"binary_garbage", garbage(4096)},
    {"face_index_zero", model_head + "f 0/0/0 0/0/0 0/0/0\nf 1/0/1 2/1/0 3/1/1\n"},
    {"face_index_negative", model_head + "f -4/-1/-1 -2/-1/-1 -1/-1/-1\nf -1/-2/-1 1/1/1 2/1/1\n"},
    {"face_index_too_large", model_head + "f 1/1/1 2/1/1 4/1/1\nf 1/2/1 2/1/1 3/1/1\nf 99999999999/1/1 2/1/1 3/1/1\n"
                                          "f 2147483647/1/1 2/1/1 3/1/1\n"},
    {"line_of_100_kB", model_head + "f " + std::string(100000, '1') + "/1/1 2/1/1 3/1/1\nv " +
                           std::string(100000, '9') + "\nf 1/1/1 2/1/1 3/1/1\n"},
};

static void PrintTo(const model_case& c, std::ostream* os) { *os << c.name; }

using Models = testing::TestWithParam<model_case>;

TEST_P(Models, GamePlaysAndLeavesWithStatusZero) {
    std::string bin = make_play_folder({level_with_pickups()});
    for (const char* m : model_names)
        write_text_file(resources_of(bin) + m, GetParam().text);
    game_run run;
    play_then_leave(&run, bin);
    EXPECT_EQ(run.status, 0);
    std::string out = game_output(run);
    EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    EXPECT_NE(out.find("Bitmap size"), std::string::npos) << out;
    expect_no_sanitizer_report(run);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, Models, testing::ValuesIn(model_cases),
                         [](const testing::TestParamInfo<model_case>& i) { return std::string(i.param.name); });

TEST(BadFiles, MissingModelIsNamedAndTheGamePlaysOn) {
    std::string bin = make_play_folder({level_with_pickups()});
    fs::remove(resources_of(bin) + "star.obj");
    game_run run;
    play_then_leave(&run, bin);
    EXPECT_EQ(run.status, 0);
    std::string out = game_output(run);
    // once for the menu, once for the start of play
    std::vector<std::string> errors = lines_naming(out, "Error");
    EXPECT_EQ(errors.size(), 2u) << out;
    for (const std::string& l : errors)
        EXPECT_EQ(l, "Error: Cannot read model file \"../resources/star.obj\".");
    expect_no_sanitizer_report(run);
}

// --- pictures ------------------------------------------------------------------

struct picture_case {
    const char* name;
    size_t      bytes;   // of the screen's 1366 x 768 x 3
};

static void PrintTo(const picture_case& c, std::ostream* os) { *os << c.name; }

using Pictures = testing::TestWithParam<picture_case>;

TEST_P(Pictures, GamePlaysAndLeavesWithStatusZero) {
    std::string bin = make_play_folder({plain_level()});
    std::string spoil(GetParam().bytes, '\x40');
    for (const char* p : picture_names)
        write_text_file(resources_of(bin) + "1366x768/" + p, spoil);
    game_run run;
    play_then_leave(&run, bin);
    EXPECT_EQ(run.status, 0);
    expect_no_sanitizer_report(run);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, Pictures, testing::Values(picture_case{"empty", 0}, picture_case{"short", 1000}),
                         [](const testing::TestParamInfo<picture_case>& i) { return std::string(i.param.name); });

// --- scale.txt -------------------------------------------------------------------
// (that an unusable scale leaves the speed at 1 is measured frame by frame in
// test_robust_headless.cpp; here the real game only has to play and leave)

struct scale_case {
    const char* name;
    const char* text;   // nullptr: no scale.txt
};

static void PrintTo(const scale_case& c, std::ostream* os) { *os << c.name; }

using Scale = testing::TestWithParam<scale_case>;

TEST_P(Scale, UnusableScalePlaysOnAndLeavesWithStatusZero) {
    std::string bin = make_play_folder({level_with_pickups()});
    if (GetParam().text)
        write_text_file(bin + "/scale.txt", GetParam().text);
    else
        fs::remove(bin + "/scale.txt");
    game_run run;
    play_then_leave(&run, bin);
    EXPECT_EQ(run.status, 0);
    expect_no_sanitizer_report(run);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, Scale,
                         testing::Values(scale_case{"missing", nullptr}, scale_case{"empty", ""},
                                         scale_case{"zero", "0\n"}, scale_case{"minus_three", "-3\n"},
                                         scale_case{"nan", "nan\n"}, scale_case{"overflowing", "1e400\n"},
                                         scale_case{"text", "fast please\n"}),
                         [](const testing::TestParamInfo<scale_case>& i) { return std::string(i.param.name); });

// --- a folder the game cannot write ------------------------------------------------
// (a lost game, which rewrites player.s on every frame, is played in such a
// folder in test_robust_headless.cpp)

// Makes bin unwritable for the game; as root, where permissions do not bind, a
// folder in the way of the results file's temporary makes every write fail alike.
static void make_unwritable(const std::string& bin) {
    chmod(bin.c_str(), 0555);
    std::string probe = bin + "/probe";
    if (FILE* p = fopen(probe.c_str(), "w")) {
        fclose(p);
        remove(probe.c_str());
        fs::create_directory(bin + "/player.s.tmp");
    }
}

TEST(BadFiles, ReadOnlyFolderPlaysOnWithoutResults) {
    std::string bin = make_play_folder({short_level()});
    fs::remove(resources_of(bin) + "leveltwo.bmp");
    make_unwritable(bin);
    game_run run;
    ASSERT_TRUE(start_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run) << game_errors(run);
    press_key("Return");
    // level one is played to its finish; ending at the missing level two writes the results
    ASSERT_TRUE(wait_for_exit(&run, 60)) << "the game did not end at level two";
    chmod(bin.c_str(), 0755);
    EXPECT_EQ(run.status, 1);
    std::string both = game_output(run) + game_errors(run);
    EXPECT_EQ(lines_naming(both, "leveltwo.bmp").size(), 1u) << both;
    EXPECT_FALSE(fs::exists(bin + "/player.s"));
    expect_no_sanitizer_report(run);
}
