// Broken resources dropped into a player's folder, through the real game: each
// one gives a clear message or is played around, never a crash, a hang, a
// sanitizer report or a torn results file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
void expect_no_sanitizer_report(const game_run_t& run) {
    std::string err = read_text_file(run.err_path);
    EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
    EXPECT_EQ(err.find("runtime error"), std::string::npos) << err;
}

std::string resources_of(const std::string& bin) { return bin + "/../resources/"; }

// A level whose finish starts on row 2: the ship reaches it a few frames into play.
std::string finish_at_row_2() { return plain_level({{2, ".FFFFF."}, {3, ".FFFFF."}}); }

// Starts the game in bin, chooses play, waits for its end (with `esc_in_play`, an Esc once
// play is on the screen).
void play_until_exit(game_run_t* run, const std::string& bin, bool esc_in_play, double end_within_s) {
    ASSERT_TRUE(launch_game(run, bin));
    ASSERT_TRUE(wait_for_window(run)) << game_output(*run) << read_text_file(run->err_path);
    // the menu stands still once it is drawn; play moves the screen away from it
    screen_shot_t menu;
    screen_shot_t shot = wait_for_screen([&](const screen_shot_t& s) {
        bool same = s.rgb == menu.rgb;
        menu = s;
        return same;
    });
    press_key("Return");
    if (esc_in_play) {
        ASSERT_GT(block_difference(wait_for_screen([&](const screen_shot_t& s) {
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

template <typename T>
void name_cases(const T& c, std::ostream* os) {
    *os << c.name;
}

}   // namespace

// --- level one: refused with one line and status 1 ------------------------------

struct level_one_case_t {
    const char*                                  name;
    const char*                                  fault;             // words the reason on standard error holds
    std::function<void(std::vector<uint8_t>&)>   spoil;             // empty: the file is removed
    std::function<void(const std::string& path)> place = nullptr;   // then done to the file written
};
static void PrintTo(const level_one_case_t& c, std::ostream* os) { name_cases(c, os); }

// Things that are no regular file, put where a file is looked for.
static void make_fifo(const std::string& path) {
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
}
// A device node of the test's own; the case is skipped where the system refuses one.
static void make_device(const std::string& path) {
    fs::remove(path);
    if (!make_device_node(path))
        GTEST_SKIP() << "the system refuses to make a device node";
}
static void make_folder(const std::string& path) {
    fs::remove(path);
    fs::create_directory(path);
}
// Grows the file to `size` bytes without writing them (a sparse file).
static std::function<void(const std::string&)> grow_to(off_t size) {
    return [size](const std::string& path) { ASSERT_EQ(truncate(path.c_str(), size), 0) << path; };
}
static void set_size(std::vector<uint8_t>& b, int32_t width, int32_t height) {
    put32(b, 18, width);
    put32(b, 22, height);
    put32(b, 34, (int32_t)(uint32_t)((((uint64_t)width * 3 + 3) & ~(uint64_t)3) * (uint64_t)height));
}
static void leave_as_is(std::vector<uint8_t>&) {}

static const level_one_case_t level_one_cases[] = {
    {"missing", "cannot open", nullptr},
    {"cut_in_headers", "headers", [](std::vector<uint8_t>& b) { b.resize(30); }},
    {"cut_in_pixels", "pixels", [](std::vector<uint8_t>& b) { b.resize(54 + 100); }},
    {"height_zero", "height 0", [](std::vector<uint8_t>& b) { put32(b, 22, 0); }},
    {"height_negative", "height -240", [](std::vector<uint8_t>& b) { put32(b, 22, -240); }},
    {"width_70000", "width 70000", [](std::vector<uint8_t>& b) { put32(b, 18, 70000); }},
    {"image_size_zero", "image size 0", [](std::vector<uint8_t>& b) { put32(b, 34, 0); }},
    {"offset_past_end", "offset", [](std::vector<uint8_t>& b) { put32(b, 10, (int32_t)b.size() + 100); }},
    {"bits_32", "32 bits", [](std::vector<uint8_t>& b) { b[28] = 32; }},
    {"png_signature", "not a BMP picture", [](std::vector<uint8_t>& b) { memcpy(b.data(), "\x89PNG\r\n\x1a\n", 8); }},
    {"image_size_above_2GiB_sparse", "larger than 1048576 bytes",
     [](std::vector<uint8_t>& b) { put32(b, 34, (int32_t)0x90000000u); }, grow_to(0x90000100LL)},
    {"size_32767x21847_sparse", "larger than 1048576 bytes", [](std::vector<uint8_t>& b) { set_size(b, 32767, 21847); },
     grow_to(54 + 98304LL * 21847)},
    {"size_32767x21847", "715860649 tiles, more than the 32768",
     [](std::vector<uint8_t>& b) { set_size(b, 32767, 21847); }},
    {"size_7x32767", "229369 tiles", [](std::vector<uint8_t>& b) { set_size(b, 7, 32767); },
     grow_to(54 + 24LL * 32767)},
    {"fifo", "not a regular file", leave_as_is, make_fifo},
    {"device", "not a regular file", leave_as_is, make_device},
    {"folder", "not a regular file", leave_as_is, make_folder},
};

using LevelOne = testing::TestWithParam<level_one_case_t>;

TEST_P(LevelOne, RefusedWithOneLineAndStatusOne) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    const level_one_case_t& c = GetParam();
    std::string             bin = make_play_folder({plain_level()});
    std::string             path = resources_of(bin) + "levelone.bmp";
    std::vector<uint8_t>    bytes = level_bmp(plain_level());
    if (c.spoil) {
        c.spoil(bytes);
        write_binary_file(path, bytes);
        if (c.place)
            c.place(path);
        if (IsSkipped())
            return;
    } else {
        fs::remove(path);
    }
    game_run_t run;
    ASSERT_TRUE(launch_game(&run, bin));
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
                         [](const testing::TestParamInfo<level_one_case_t>& i) { return std::string(i.param.name); });

// --- a later level missing or of another size, or a folder the game cannot write ---

enum later_fault_t { LATER_MISSING, LATER_OTHER_SIZE, LATER_FIFO, LATER_DEVICE };
struct later_case_t {
    const char*   name;
    later_fault_t fault;
    bool          read_only;   // the working folder: no results file can be written
};
static void PrintTo(const later_case_t& c, std::ostream* os) { name_cases(c, os); }

// Makes bin unwritable for the game; as root, where permissions do not bind, a
// folder in the results file's place makes every write fail alike.
static void make_unwritable(const std::string& bin) {
    chmod(bin.c_str(), 0555);
    if (FILE* p = fopen((bin + "/probe").c_str(), "w")) {
        fclose(p);
        remove((bin + "/probe").c_str());
        fs::create_directory(bin + "/player.s");
    }
}

using LaterLevel = testing::TestWithParam<later_case_t>;

TEST_P(LaterLevel, EndsWithOneLineAndTheResultsSoFar) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    std::string bin = make_play_folder({finish_at_row_2()});
    std::string path = resources_of(bin) + "leveltwo.bmp";
    if (GetParam().fault == LATER_MISSING) {
        fs::remove(path);
    } else if (GetParam().fault == LATER_FIFO) {
        make_fifo(path);
    } else if (GetParam().fault == LATER_DEVICE) {
        make_device(path);
        if (IsSkipped())
            return;
    } else {
        std::string wide;
        for (int r = 0; r < 240; r++)
            wide += ".#######.\n";
        write_binary_file(path, level_bmp(wide));
    }
    if (GetParam().read_only)
        make_unwritable(bin);
    game_run_t run;
    // level one ends at once; the next level comes after the fly-off and a pause
    play_until_exit(&run, bin, false, 60);
    chmod(bin.c_str(), 0755);
    EXPECT_EQ(run.status, 1);
    std::string both = game_output(run) + read_text_file(run.err_path);
    EXPECT_EQ(lines_naming(both, "leveltwo.bmp").size(), 1u) << both;
    if (GetParam().read_only) {
        EXPECT_FALSE(fs::is_regular_file(bin + "/player.s"));
    } else {
        std::string results = read_text_file(bin + "/player.s");
        EXPECT_TRUE(level_one_record_only(results, 0, 5)) << "player.s:\n" << results;
    }
}

INSTANTIATE_TEST_SUITE_P(BadFiles, LaterLevel,
                         testing::Values(later_case_t{"missing", LATER_MISSING, false},
                                         later_case_t{"another_size", LATER_OTHER_SIZE, false},
                                         later_case_t{"missing_in_read_only_folder", LATER_MISSING, true},
                                         later_case_t{"fifo", LATER_FIFO, false},
                                         later_case_t{"device", LATER_DEVICE, false}),
                         [](const testing::TestParamInfo<later_case_t>& i) { return std::string(i.param.name); });

// --- models, pictures and scale.txt the game plays around -------------------------
// (a missing model is named window-free in test_startup.cpp; what an unusable
// scale does to the speed is measured in test_scale.cpp)

struct plays_on_case_t {
    const char*                                 name;
    std::function<void(const std::string& bin)> spoil;
};
static void PrintTo(const plays_on_case_t& c, std::ostream* os) { name_cases(c, os); }

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
    std::string  s(n, 0);
    for (char& c : s)
        c = (char)(bytes() & 0xFF);
    return s;
}

static const std::string     model_head = "v 0 0 0\nv 0.001 0 0\nv 0 0.001 0\nvt 0 0\nvn 0 0 1\n";
static const plays_on_case_t plays_on_cases[] = {
    {"model_empty", models("")},
    {"model_binary_garbage", models(garbage(4096))},
    {"model_face_index_zero", models(model_head + "f 0/0/0 0/0/0 0/0/0\nf 1/0/1 2/1/0 3/1/1\n")},
    {"model_face_index_negative", models(model_head + "f -4/-1/-1 -2/-1/-1 -1/-1/-1\nf -1/-2/-1 1/1/1 2/1/1\n")},
    {"model_face_index_too_large",
     models(model_head + "f 1/1/1 2/1/1 4/1/1\nf 1/2/1 2/1/1 3/1/1\n"
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

using PlaysOn = testing::TestWithParam<plays_on_case_t>;

TEST_P(PlaysOn, GamePlaysAndLeavesWithStatusZero) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    // stars and hearts on the track, so their models are drawn in play
    std::string bin = make_play_folder({plain_level({{6, ".#*H*#."}, {9, ".H#*#H."}})});
    GetParam().spoil(bin);
    game_run_t run;
    play_until_exit(&run, bin, true, 20);
    EXPECT_EQ(run.status, 0);
    std::string out = game_output(run);
    EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    EXPECT_NE(out.find("Bitmap size"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(BadFiles, PlaysOn, testing::ValuesIn(plays_on_cases),
                         [](const testing::TestParamInfo<plays_on_case_t>& i) { return std::string(i.param.name); });

// --- models, pictures and scale.txt that are no regular file ---------------------
// Each is passed over at once, with the reaction a missing one gets: the model's
// line, no picture, the last good scale; standard error names what it is.

enum resource_kind_t { MODELS, PICTURES, SCALE };
struct not_a_file_case_t {
    const char*     name;
    resource_kind_t kind;
    void (*make)(const std::string& path);
};
static void PrintTo(const not_a_file_case_t& c, std::ostream* os) { name_cases(c, os); }

static std::vector<std::string> paths_of(resource_kind_t kind, const std::string& bin) {
    std::vector<std::string> paths;
    if (kind == MODELS)
        for (const char* m : {"spaceship.obj", "spaceshipleft.obj", "spaceshipright.obj", "star.obj", "heart.obj"})
            paths.push_back(resources_of(bin) + m);
    if (kind == PICTURES)
        for (const char* p : {"background.bmp", "gameover.bmp", "playgame.bmp", "exitgame.bmp"})
            paths.push_back(resources_of(bin) + "1366x768/" + p);
    if (kind == SCALE)
        paths.push_back(bin + "/scale.txt");
    return paths;
}

static const not_a_file_case_t not_a_file_cases[] = {
    {"models_fifo", MODELS, make_fifo},     {"models_device", MODELS, make_device},
    {"pictures_fifo", PICTURES, make_fifo}, {"pictures_device", PICTURES, make_device},
    {"scale_fifo", SCALE, make_fifo},       {"scale_device", SCALE, make_device},
};

using NotAFile = testing::TestWithParam<not_a_file_case_t>;

TEST_P(NotAFile, PassedOverWithoutWaiting) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    const not_a_file_case_t& c = GetParam();
    std::string              bin = make_play_folder({plain_level({{6, ".#*H*#."}, {9, ".H#*#H."}})});
    for (const std::string& path : paths_of(c.kind, bin))
        c.make(path);
    if (IsSkipped())
        return;
    game_run_t run;
    play_until_exit(&run, bin, 1500, 20);
    EXPECT_EQ(run.status, 0);
    std::string out = game_output(run), err = read_text_file(run.err_path);
    EXPECT_NE(out.find("Bitmap size"), std::string::npos) << out;
    // two start-ups (menu and play), each naming every model it could not read
    size_t model_lines = lines_naming(out, "Error: Cannot read model file").size();
    EXPECT_EQ(model_lines, c.kind == MODELS ? 10u : 0u) << out;
    for (const std::string& path : paths_of(c.kind, bin)) {
        // scale.txt is read every frame, so its faults stay quiet
        std::string line = fs::path(path).filename().string() + ": is not a regular file";
        EXPECT_EQ(lines_naming(err, line).empty(), c.kind == SCALE) << err;
    }
}

INSTANTIATE_TEST_SUITE_P(BadFiles, NotAFile, testing::ValuesIn(not_a_file_cases),
                         [](const testing::TestParamInfo<not_a_file_case_t>& i) { return std::string(i.param.name); });

// --- screens of other shapes and sizes --------------------------------------------

// An X server of its own with a screen of the size asked for, made the display
// of this process (and of the game it starts) while it lives.
struct screen_server_t {
    pid_t       pid = -1;
    std::string old_display;

    bool start(const char* screen) {
        std::string display;
        pid = start_x_server(screen, &display);
        if (pid < 0)
            return false;
        if (const char* d = getenv("DISPLAY"))
            old_display = d;
        setenv("DISPLAY", display.c_str(), 1);
        return true;
    }
    ~screen_server_t() {
        stop_x_server(pid);
        setenv("DISPLAY", old_display.c_str(), 1);
    }
};

TEST(PortraitScreen, ShowsTheTrack) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    const int       w = 768, h = 1366;
    screen_server_t server;
    ASSERT_TRUE(server.start("768x1366x24")) << "Xvfb did not start";
    std::string bin = make_play_folder({plain_level({{6, ".#*###."}, {9, ".#*###."}, {30, ".#*#*#."}})});
    // the picture set made for this screen, as the run command makes it
    std::string set = resources_of(bin) + "768x1366";
    ASSERT_EQ(system((std::string(QUOVIX_TOOLS_DIR) + "/quovix-gen-pictures " + set + " 768 1366").c_str()), 0);
    screen_shot_t background = read_screen_picture(set + "/background.bmp", w, h);
    ASSERT_EQ(background.width, w);
    game_run_t run;
    ASSERT_TRUE(launch_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run) << read_text_file(run.err_path);
    press_key("Return");
    // the track covers the background below the middle of the screen (under 0.1 where only the picture shows)
    double track = 0;
    for (int i = 0; i < 50 && track < 4.0 && !run.exited; i++) {
        sleep_ms(200);
        screen_shot_t shot = take_screenshot();
        ASSERT_EQ(std::vector<int>({shot.width, shot.height}), std::vector<int>({w, h}));
        track = block_difference(shot, background, 64, 800, 704, 1100);
    }
    EXPECT_GT(track, 4.0) << "no track on the portrait screen";
    press_key("Escape");
    ASSERT_TRUE(wait_for_exit(&run, 20)) << "the game did not end";
    EXPECT_EQ(run.status, 0);
    expect_no_sanitizer_report(run);
}

// A picture stretched to another size, each pixel the one under its centre.
screen_shot_t stretched(const screen_shot_t& s, int width, int height) {
    screen_shot_t out;
    out.width = width;
    out.height = height;
    out.rgb.resize((size_t)width * height * 3);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            memcpy(&out.rgb[((size_t)y * width + x) * 3],
                   s.at((int)((x + 0.5) * s.width / width), (int)((y + 0.5) * s.height / height)), 3);
    return out;
}

TEST(ScreenWithoutASet, ShowsTheNearestSetStretchedOverIt) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    // 16:10 and smaller than any set: the 1920x1200 set, shrunk to the screen
    const int       w = 1024, h = 640;
    screen_server_t server;
    ASSERT_TRUE(server.start("1024x640x24")) << "Xvfb did not start";
    std::string   bin = make_play_folder({plain_level({{6, ".#*###."}, {9, ".#*###."}, {30, ".#*#*#."}})});
    std::string   set = resources_of(bin) + "1920x1200/";
    screen_shot_t menu = read_screen_picture(set + "playgame.bmp", 1920, 1200);
    screen_shot_t background = read_screen_picture(set + "background.bmp", 1920, 1200);
    ASSERT_EQ(menu.width, 1920);
    screen_shot_t menu_here = stretched(menu, w, h), background_here = stretched(background, w, h);
    game_run_t    run;
    ASSERT_TRUE(launch_game(&run, bin));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run) << read_text_file(run.err_path);
    screen_shot_t shot = wait_for_screen(
        [&](const screen_shot_t& s) { return s.width == w && block_difference(s, menu_here, 0, 0, w, h) < 6.0; });
    ASSERT_EQ(std::vector<int>({shot.width, shot.height}), std::vector<int>({w, h}));
    double whole = block_difference(shot, menu_here, 0, 0, w, h);
    EXPECT_LT(whole, 6.0) << "the menu is not the stretched picture";
    // not the picture's corner at its own size, nor the menu in words on a dark screen
    EXPECT_GT(block_difference(shot, menu, 0, 0, w, h), whole + 4.0);
    double shown[3], painted[3];
    mean_colour(shot, 0, 0, w, h, shown);
    mean_colour(menu_here, 0, 0, w, h, painted);
    for (int c = 0; c < 3; c++)
        EXPECT_NEAR(shown[c], painted[c], 3.0) << c;
    // in play the copied background is the stretched picture too, in the sky above the track
    press_key("Return");
    shot = wait_for_screen([&](const screen_shot_t& s) {
        return block_difference(s, background_here, 0, 225, w, 280) > 4.0 ||
               block_difference(s, menu_here, 0, 0, w, h) > 12.0;
    });
    shot = wait_for_screen(
        [&](const screen_shot_t& s) { return block_difference(s, background_here, 0, 80, w, 130) < 10.0; });
    EXPECT_LT(block_difference(shot, background_here, 0, 80, w, 130), 10.0) << "the sky is not the stretched picture";
    EXPECT_GT(block_difference(shot, menu_here, 0, 0, w, h), 12.0) << "still on the menu";
    press_key("Escape");
    ASSERT_TRUE(wait_for_exit(&run, 20)) << "the game did not end";
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(read_text_file(run.err_path).find("resources"), std::string::npos) << read_text_file(run.err_path);
    expect_no_sanitizer_report(run);
}
