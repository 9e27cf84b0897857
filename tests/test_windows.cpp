// The Windows zip as a player gets it, under Wine: unpacked into a fresh folder with a
// fresh Wine prefix, it makes one folder, Quovix, under 30 MB, holding the game, its
// tools and every resource (the picture sets packed) and needing no DLL beside them;
// bin/quovix.exe unpacks its screen's pictures at its first start, shows the menu,
// plays after Enter, leaves with status 0 on Esc and writes player.s after a lost game;
// its solver plays the shipped replays frame for frame as the Linux build does.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "support.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "assets/picture.h"
#include "assets/startup.h"
#include "game/levelmap.h"
#include "platform/platform.h"

namespace {

std::string prefix;   // the Wine prefix, fresh for the suite

// What a player unpacks: a download small enough to unpack anywhere.
const uintmax_t ZIP_UNPACKED_MAX_BYTES = 30 * 1000 * 1000;

// Where Wine's own start and end put what they say, in a folder of the suite's.
std::string said_by_wine() {
    static const std::string path = temp_folder() + "/wine.out";
    return path;
}

std::string wine_env() { return "WINEPREFIX=" + prefix + " WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= "; }

// What a command printed, standard error too, with Windows' line ends made plain.
std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* p = popen((command + " 2>&1").c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof(buf), p))
            out += buf;
        pclose(p);
    }
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    return out;
}

struct WindowsZip : testing::Test {
    std::string unpacked;   // where the zip was unpacked
    std::string folder;     // the game's folder in it
    game_run_t  run;

    static void SetUpTestSuite() {
        // a zip older than the game it holds would test old files
        struct stat zip, game;
        if (stat(QUOVIX_WINDOWS_ZIP, &zip) != 0 || stat(QUOVIX_WINDOWS_GAME, &game) != 0 ||
            zip.st_mtime < game.st_mtime || access(QUOVIX_WINE, X_OK) != 0)
            return;
        prefix = temp_folder();
        // the prefix is made once, before any game waits for it
        if (system(("env " + wine_env() + QUOVIX_WINE " wineboot -i >" + said_by_wine() + " 2>&1").c_str()) != 0)
            prefix.clear();
    }
    static void TearDownTestSuite() {
        if (!prefix.empty()) {
            EXPECT_EQ(system(("env " + wine_env() + "wineserver -k >" + said_by_wine() + " 2>&1; true").c_str()), 0);
        }
    }
    void SetUp() override {
        if (prefix.empty())
            GTEST_SKIP() << "no Windows zip newer than its game, or no Wine: bash scripts/windows.sh";
        unpacked = temp_folder();
        folder = unpacked + "/" QUOVIX_ZIP_FOLDER;
        ASSERT_EQ(system(("unzip -q " QUOVIX_WINDOWS_ZIP " -d " + unpacked).c_str()), 0);
        run.program = QUOVIX_WINE;
        run.args = {folder + "/bin/quovix.exe"};
        run.env = {"WINEPREFIX=" + prefix, "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="};
    }
    void TearDown() override { kill_game(&run); }

    // Started as a double-click starts it: in its own bin folder.
    void start() {
        if (!have_display())
            GTEST_SKIP() << "no X display";
        ASSERT_TRUE(launch_game(&run, folder + "/bin"));
        ASSERT_TRUE(wait_for_window(&run, 60)) << read_text_file(run.err_path);
    }
    void leave_with_esc() {
        press_key("Escape");
        ASSERT_TRUE(wait_for_exit(&run, 20));
        EXPECT_EQ(run.status, 0) << read_text_file(run.err_path);
    }
    // The menu picture of the screen's size, as the Linux build painted it.
    static screen_shot_t menu_picture(const screen_shot_t& shot) {
        return read_screen_picture(painted(set_of(shot) + "playgame.bmp"), shot.width, shot.height);
    }
    static std::string set_of(const screen_shot_t& shot) {
        return "/resources/" + std::to_string(shot.width) + "x" + std::to_string(shot.height) + "/";
    }
    static std::string painted(const std::string& path) {
        return QUOVIX_RESOURCES_DIR + path.substr(strlen("/resources"));
    }
};

}   // namespace

TEST_F(WindowsZip, HoldsOneFolderUnder30MBWithTheGameItsToolsAndEveryResourceAndNeedsNoDllBesideThem) {
    // Extract Here makes one folder, not the game's files strewn among the player's
    std::vector<std::string> top;
    for (const auto& entry : std::filesystem::directory_iterator(unpacked))
        top.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
    EXPECT_EQ(top, std::vector<std::string>{QUOVIX_ZIP_FOLDER "/"});
    uintmax_t size = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(unpacked))
        size += entry.is_regular_file() ? entry.file_size() : 0;
    EXPECT_LT(size, ZIP_UNPACKED_MAX_BYTES);
    std::vector<std::string> files = {"README.txt", "bin/scale.txt"};
    for (const picture_size_t& set : shipped_picture_sets) {
        for (const picture_file_t& picture : picture_files) {
            std::string path =
                "resources/" + std::to_string(set.width) + "x" + std::to_string(set.height) + "/" + picture.name;
            files.push_back(path + PACKED_PICTURE_SUFFIX);
            EXPECT_FALSE(file_exists(folder + "/" + path)) << path << " is shipped unpacked";
        }
    }
    for (const char* const* level = level_files; level != level_files + LEVEL_COUNT; level++)
        files.push_back(std::string("resources/") + resource_name(*level));
    for (const std::string& file : files)
        EXPECT_TRUE(file_exists(folder + "/" + file)) << file;
    // Notepad's line ends, and the game still reads 1
    EXPECT_EQ(read_text_file(folder + "/bin/scale.txt"), "1\r\n");
    std::string readme = read_text_file(folder + "/README.txt");
    EXPECT_EQ(occurrences(readme, "\n"), occurrences(readme, "\r\n"));
    EXPECT_NE(readme.find("bin\\quovix.exe"), std::string::npos);
    // the C++ runtime and every library are inside each program: only Windows' own DLLs are asked for
    for (const char* program : {"quovix.exe", "quovix-level.exe", "quovix-solve.exe"}) {
        std::string dlls =
            output_of(std::string(QUOVIX_WINDOWS_OBJDUMP) + " -p " + folder + "/bin/" + program + " | grep 'DLL Name'");
        EXPECT_NE(dlls.find("KERNEL32.dll"), std::string::npos) << program << "\n" << dlls;
        for (const char* outside : {"libstdc++", "libgcc", "libwinpthread", "SDL2", "glut", "png", "zlib"})
            EXPECT_EQ(dlls.find(outside), std::string::npos) << program << " needs " << outside;
    }
}

TEST_F(WindowsZip, UnpacksItsPicturesOnceShowsTheMenuPlaysAfterEnterAndLeavesWithStatusZeroOnEsc) {
    start();
    screen_shot_t shot = take_screenshot();
    screen_shot_t menu = menu_picture(shot);
    ASSERT_EQ(menu.width, shot.width) << "the build painted no menu picture for this screen";
    // the window is up before its first frame is drawn
    EXPECT_TRUE(wait_for_menu(menu)) << "the menu is not shown";
    press_key("w");
    press_key("Return");
    EXPECT_TRUE(wait_for_play(run, menu)) << game_output(run);
    leave_with_esc();
    EXPECT_EQ(read_text_file(folder + "/bin/scale.txt"), "1\r\n");
    // the first start left its screen's set unpacked, the very pictures the Linux build painted
    std::string set = folder + set_of(shot);
    for (const picture_file_t& picture : picture_files) {
        EXPECT_TRUE(read_text_file(set + picture.name) == read_text_file(painted(set_of(shot) + picture.name)))
            << picture.name;
        // the next start reads the files alone
        ASSERT_EQ(std::remove((set + picture.name + PACKED_PICTURE_SUFFIX).c_str()), 0) << picture.name;
    }
    EXPECT_EQ(platform_files_in(set.c_str()).size(), (size_t)PICTURE_COUNT);
    kill_game(&run);
    game_run_t first = run;
    run = game_run_t();
    run.program = first.program;
    run.args = first.args;
    run.env = first.env;
    start();
    EXPECT_TRUE(wait_for_menu(menu)) << "the menu is not shown at the second start";
    leave_with_esc();
    EXPECT_EQ(read_text_file(run.err_path).find(".bmp"), std::string::npos) << read_text_file(run.err_path);
}

TEST_F(WindowsZip, ALostGameWritesPlayerSInTheBinFolder) {
    // the track ends after three rows with a star on the second: five falls off its end
    std::vector<level_edit_t> rows = rows_of(3, 239, ".......");
    rows.push_back({1, ".#*###."});
    write_binary_file(folder + "/resources/levelone.bmp", level_bmp(plain_level(rows, false)));
    // a player's own speed, written with Windows' line end
    write_text_file(folder + "/bin/scale.txt", "0.25\r\n");
    start();
    press_key("w");
    press_key("Return");
    std::string results = folder + "/bin/player.s";
    ASSERT_TRUE(wait_for_lines(results, 5, 120)) << game_output(run);
    std::string text = read_text_file(results);
    EXPECT_TRUE(level_one_record_only(text, 1, 0)) << text;
    leave_with_esc();
    EXPECT_EQ(read_text_file(results), text);
}

TEST_F(WindowsZip, ItsSolverPlaysEveryShippedReplayFrameForFrameAsLinuxDoes) {
    for (const char* const* level = level_files; level != level_files + LEVEL_COUNT; level++) {
        std::string name = resource_name(*level);
        std::string sources = std::string(QUOVIX_SOURCE_DIR) + "/data/levels/" + name.substr(0, name.size() - 4);
        std::string args = " --play " + sources + ".txt " + sources + ".replay --events";
        std::string linux_run = output_of(std::string(QUOVIX_TOOLS_DIR) + "/quovix-solve" + args);
        std::string windows_run =
            output_of("env " + wine_env() + QUOVIX_WINE " " + folder + "/bin/quovix-solve.exe" + args);
        EXPECT_NE(linux_run.find(": finished in frame "), std::string::npos) << linux_run;
        EXPECT_EQ(windows_run, linux_run) << name;
    }
}

// Wine as the cross-built suites run it: a run that failed without a word (Wine did not
// start the program) is run once more, saying so; any other run's end stands.
TEST(WineOnceMore, ARunThatSaidNothingAndFailedIsRunOnceMoreAndNoOtherIs) {
    struct {
        const char* what;
        const char* first;   // what the stand-in for Wine does the first time
        const char* later;
        int         status, runs;
    } cases[] = {
        {"Wine did not start it, then did", "exit 1", "echo ran; exit 0", 0, 2},
        {"Wine did not start it twice", "exit 1", "exit 1", 1, 2},
        {"a failure that said why", "echo '[  FAILED  ] a test'; exit 1", "exit 0", 1, 1},
        {"a failure said on standard error", "echo 'not a test' >&2; exit 3", "exit 0", 3, 1},
        {"a quiet success", "exit 0", "exit 1", 0, 1},
    };
    for (const auto& c : cases) {
        std::string dir = temp_folder(), wine = dir + "/wine", runs = dir + "/runs", said = dir + "/said";
        write_text_file(wine, "#!/bin/sh\necho run >>'" + runs + "'\nif [ $(wc -l <'" + runs + "') -eq 1 ]; then " +
                                  c.first + "; else " + c.later + "; fi\n");
        ASSERT_EQ(chmod(wine.c_str(), 0755), 0);
        int status = system(("sh " QUOVIX_WINE_ONCE_MORE " " + wine + " test.exe >'" + said + "' 2>&1").c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.what;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.what;
        EXPECT_EQ(lines_of(read_text_file(runs)).size(), (size_t)c.runs) << c.what;
        EXPECT_EQ(read_text_file(said).find("running it once more") != std::string::npos, c.runs == 2)
            << c.what << "\n"
            << read_text_file(said);
    }
}
