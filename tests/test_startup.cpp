// Start-up: at program start and again at the start of play.
#include <gtest/gtest.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "app/devices.h"
#include "app/frame.h"
#include "app/headless.h"
#include "assets/picture.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/input.h"
#include "game/levelmap.h"
#include "game/state.h"
#include "game/tuning.h"
#include "gameplay_support.h"
#include "platform/platform.h"
#include "render/render.h"

namespace {

const char* const size_line = "Bitmap size: 7,240 (line length:24, size:5760 (5040))";

// What start-up said: the lines after any model errors must be the version, then the size.
std::vector<std::string> said_after(std::vector<std::string> out, size_t errors) {
    EXPECT_EQ(out.size(), errors + 2);
    if (out.size() == errors + 2) {
        EXPECT_EQ(out[errors].rfind("OpenGL version: ", 0), 0u) << out[errors];
        EXPECT_EQ(out[errors + 1], size_line);
    }
    out.resize(std::min(out.size(), errors));
    return out;
}

struct Startup : testing::Test {
    void TearDown() override {
        sim_close();
        reset_game_state();
    }
};

}   // namespace

TEST_F(Startup, ProgramStartQueuesTheMenuAndPrintsVersionThenSize) {
    std::string bin = make_play_folder({plain_level()});
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str()));
    said_after(lines_of(testing::internal::GetCapturedStdout()), 0);
    EXPECT_EQ(queued_actions(), std::vector<int>{ACT_MENU});
    for (uint32_t list : {render_assets.ship_list, render_assets.ship_left_list, render_assets.ship_right_list,
                          render_assets.star_list, render_assets.heart_list})
        EXPECT_TRUE(list != 0 && list != (uint32_t)-1);
    for (uint32_t tex : {render_assets.background_tex, render_assets.gameover_tex, render_assets.playgame_tex,
                         render_assets.exitgame_tex})
        EXPECT_NE(tex, 0u);
    EXPECT_STREQ(loaded_picture_folder(), "../resources/1366x768/");
    EXPECT_EQ(game.ship.heading, SHIP_HEADING);
}

TEST_F(Startup, StartOfPlayPutsEverythingBackButLivesAndLevel) {
    std::string bin = make_play_folder({plain_level({{10, ".##*##."}})});
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str()));
    testing::internal::GetCapturedStdout();
    for (int i = 0; i < 20; i++)
        ASSERT_TRUE(sim_frame(0));
    // a taken star and leftovers of the menu
    int star = tile_lookup(3.5f / 240, 10.5f / 240, nullptr);
    ASSERT_EQ(tile_kind_at(star), TILE_STAR);
    set_tile_floor(star);
    game.ship.pos[0] = 0.02f;
    game.ship.prev_pos[1] = 0.5f;
    game.ship.heading = 45;
    game.flow.stars_collected = 7;
    game.flow.lives = 3;
    key_down('\r', 0, 0);
    key_down('q', 0, 0);
    game.cmd.held = button_bit(BUTTON_CONFIRM);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(input_step());
    start_game();
    frame_done();
    said_after(lines_of(testing::internal::GetCapturedStdout()), 0);
    EXPECT_EQ(game.flow.game_started, 1);
    EXPECT_EQ(game.flow.stars_collected, 0);
    EXPECT_EQ(game.flow.lives, 3);
    EXPECT_EQ(game.flow.current_level, 1);
    const std::vector<float> spawn(SPAWN_POINT, SPAWN_POINT + 3);
    EXPECT_EQ(std::vector<float>(game.ship.pos, game.ship.pos + 3), spawn);
    EXPECT_EQ(std::vector<float>(game.ship.prev_pos, game.ship.prev_pos + 3), spawn);
    EXPECT_EQ(std::vector<float>(game.ship.spawn, game.ship.spawn + 3), spawn);
    EXPECT_EQ(game.ship.heading, SHIP_HEADING);
    EXPECT_EQ(std::vector<int>(game.buttons.held, game.buttons.held + BUTTON_COUNT), std::vector<int>(BUTTON_COUNT, 0));
    EXPECT_EQ(tile_kind_at(star), TILE_STAR);
    std::vector<int> want = {ACT_VERTICAL, ACT_FORWARD};
    want.insert(want.end(), std::begin(play_codes), std::end(play_codes));
    EXPECT_EQ(queued_actions(), want);
}

TEST_F(Startup, MissingStarModelIsReportedOnceOnEachRunAndPlayGoesOn) {
    std::string bin = make_play_folder({plain_level()});
    ASSERT_EQ(remove((bin + "/../resources/star.obj").c_str()), 0);
    for (int run = 0; run < 2; run++) {
        testing::internal::CaptureStdout();
        ASSERT_TRUE(run == 0 ? sim_open(bin.c_str()) : sim_start_play());
        EXPECT_EQ(said_after(lines_of(testing::internal::GetCapturedStdout()), 1),
                  std::vector<std::string>{"Error: Cannot read model file \"../resources/star.obj\"."});
        EXPECT_EQ(render_assets.star_list, (uint32_t)-1) << run;
        EXPECT_TRUE(render_assets.heart_list != (uint32_t)-1 && render_assets.heart_list != 0u) << run;
    }
    // the game runs on with invisible stars
    for (int i = 0; i < 10; i++)
        ASSERT_TRUE(sim_frame(0));
}

TEST_F(Startup, PicturesComeFromTheFolderOfTheScreenSize) {
    // 1366 wide but not 768 high: no set of its own, so the nearest in shape stands in, quietly
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str(), 1366, 1024));
    said_after(lines_of(testing::internal::GetCapturedStdout()), 0);
    for (uint32_t tex : {render_assets.background_tex, render_assets.gameover_tex, render_assets.playgame_tex,
                         render_assets.exitgame_tex})
        EXPECT_NE(tex, 0u);
    EXPECT_STREQ(loaded_picture_folder(), "../resources/1920x1200/");
    char buf[64];
    ASSERT_EQ(mkdir("../resources/800x600", 0700), 0);
    // a plain file of that name is no set
    write_text_file("../resources/1024x768", "");
    struct {
        int         w, h;
        const char* folder;
    } sets[] = {{1366, 768, "../resources/1366x768/"},
                {2560, 1080, "../resources/2560x1080/"},
                {1920, 1200, "../resources/1920x1200/"},
                {1920, 1080, "../resources/1920x1080/"},
                {800, 600, "../resources/800x600/"},
                {1366, 1024, nullptr},
                {2560, 1200, nullptr},
                {1024, 768, nullptr},
                {640, 480, nullptr}};
    for (const auto& s : sets) {
        const char* got = resource_folder(s.w, s.h, buf, sizeof(buf));
        EXPECT_EQ(std::string(got ? got : "none"), std::string(s.folder ? s.folder : "none")) << s.w << "x" << s.h;
    }
    // a missing picture is silent and named 0, on either run
    sim_close();
    std::string bin = make_play_folder({plain_level()});
    ASSERT_EQ(remove((bin + "/../resources/1366x768/gameover.bmp").c_str()), 0);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str()));
    EXPECT_EQ(render_assets.gameover_tex, 0u);
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(lines_of(testing::internal::GetCapturedStdout()).size(), 4u);
    EXPECT_EQ(render_assets.gameover_tex, 0u);
    EXPECT_NE(render_assets.background_tex, 0u);
    EXPECT_NE(render_assets.exitgame_tex, 0u);
}

// Files read while the window opens stand in for the ones start-up reads: each is
// taken once, and pictures only by a window of the size they were read for.
TEST_F(Startup, FilesReadAheadAreTakenOnceAndPicturesOnlyForTheirScreen) {
    std::string       bin = make_play_folder({plain_level()});
    std::string       star = bin + "/../resources/star.obj", menu = bin + "/../resources/1366x768/playgame.bmp";
    const std::string missing_star = "Error: Cannot read model file \"../resources/star.obj\".";
    char              here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    for (int read_for_width : {1366, 2560}) {
        ASSERT_EQ(chdir(bin.c_str()), 0);
        read_files_ahead(read_for_width, read_for_width == 1366 ? 768 : 1080);
        platform_wait_aside();
        ASSERT_EQ(chdir(here), 0);
        // gone once read: whatever start-up finds came from the read ahead
        ASSERT_EQ(rename(star.c_str(), (star + ".away").c_str()), 0);
        ASSERT_EQ(rename(menu.c_str(), (menu + ".away").c_str()), 0);
        testing::internal::CaptureStdout();
        ASSERT_TRUE(sim_open(bin.c_str(), 1366, 768));
        EXPECT_EQ(said_after(lines_of(testing::internal::GetCapturedStdout()), 0), std::vector<std::string>{});
        EXPECT_TRUE(render_assets.star_list != 0u && render_assets.star_list != (uint32_t)-1);
        EXPECT_EQ(render_assets.playgame_tex != 0u, read_for_width == 1366) << read_for_width;
        EXPECT_NE(render_assets.exitgame_tex, 0u);
        // the next start reads for itself and misses the file
        testing::internal::CaptureStdout();
        ASSERT_TRUE(sim_start_play());
        EXPECT_EQ(said_after(lines_of(testing::internal::GetCapturedStdout()), 1),
                  std::vector<std::string>{missing_star});
        EXPECT_EQ(render_assets.playgame_tex, 0u);
        sim_close();
        reset_game_state();
        ASSERT_EQ(rename((star + ".away").c_str(), star.c_str()), 0);
        ASSERT_EQ(rename((menu + ".away").c_str(), menu.c_str()), 0);
    }
}

// A screen with no set of its own takes the nearest folder that is a set; with none
// at all its screens stay dark, and either way nothing more is said.
TEST_F(Startup, AScreenWithoutASetTakesTheNearestFolderThatIsASet) {
    std::string bin = make_play_folder({plain_level()});
    std::string resources = bin + "/../resources/";
    // nearer in shape to 1280x1024 than 16:10, but a file, a link to nothing, or no size
    write_text_file(resources + "1280x1000", "");
    ASSERT_EQ(mkdir((resources + "1280x1024x").c_str(), 0700), 0);
#ifdef _WIN32
    // Windows lets only an administrator make links: no link to nothing, and the 5:4 set a copy
    std::filesystem::copy(resources + "1366x768", resources + "1250x1000", std::filesystem::copy_options::recursive);
#else
    ASSERT_EQ(symlink("missing", (resources + "1300x1000").c_str()), 0);
    // a link to a folder is a set: this one holds the 1366x768 pictures under a 5:4 name
    ASSERT_EQ(symlink("1366x768", (resources + "1250x1000").c_str()), 0);
#endif
    struct {
        int         w, h;
        const char* folder;
    } screens[] = {{1280, 1024, "../resources/1250x1000/"},
                   {1600, 900, "../resources/1920x1080/"},
                   {3440, 1440, "../resources/2560x1080/"},
                   {1920, 1080, "../resources/1920x1080/"}};
    for (const auto& s : screens) {
        testing::internal::CaptureStdout();
        ASSERT_TRUE(sim_open(bin.c_str(), s.w, s.h));
        said_after(lines_of(testing::internal::GetCapturedStdout()), 0);
        EXPECT_STREQ(loaded_picture_folder(), s.folder) << s.w << "x" << s.h;
        EXPECT_NE(render_assets.playgame_tex, 0u) << s.w << "x" << s.h;
        sim_close();
        reset_game_state();
    }
    // the stand-in read while the window opens is the one start-up takes
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    ASSERT_EQ(chdir(bin.c_str()), 0);
    read_files_ahead(1600, 900);
    platform_wait_aside();
    ASSERT_EQ(chdir(here), 0);
    ASSERT_EQ(remove((resources + "1920x1080/playgame.bmp").c_str()), 0);
    ASSERT_TRUE(sim_open(bin.c_str(), 1600, 900));
    EXPECT_NE(render_assets.playgame_tex, 0u);
    sim_close();
    reset_game_state();
    for (const char* set : {"1366x768", "1250x1000", "2560x1080", "1920x1200", "1920x1080"})
        std::filesystem::remove_all(resources + set);
    // the sizes of the sets that ship keep to their own folder, even when it is gone
    for (const char* set : {"1366x768", "1920x1080"}) {
        int w = 0, h = 0;
        ASSERT_TRUE(parse_picture_size(set, &w, &h));
        ASSERT_TRUE(sim_open(bin.c_str(), w, h));
        EXPECT_EQ(loaded_picture_folder(), "../resources/" + std::string(set) + "/");
        EXPECT_EQ(render_assets.playgame_tex, 0u) << set;
        sim_close();
        reset_game_state();
    }
    testing::internal::CaptureStdout();
    ASSERT_TRUE(sim_open(bin.c_str(), 1600, 900));
    said_after(lines_of(testing::internal::GetCapturedStdout()), 0);
    EXPECT_STREQ(loaded_picture_folder(), "");
    for (uint32_t tex : {render_assets.background_tex, render_assets.gameover_tex, render_assets.playgame_tex,
                         render_assets.exitgame_tex})
        EXPECT_EQ(tex, 0u);
}

// A start on a 1366x768 screen in bin, its pictures read ahead as the window opens or by start-up; what it said on
// standard error.
static std::string start_and_say(const std::string& bin, bool read_ahead) {
    sim_close();
    reset_game_state();
    std::string here = std::filesystem::current_path().string();
    if (read_ahead && chdir(bin.c_str()) == 0) {
        read_files_ahead(1366, 768);
        platform_wait_aside();
        EXPECT_EQ(chdir(here.c_str()), 0);
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(sim_open(bin.c_str()));
    testing::internal::GetCapturedStdout();
    return testing::internal::GetCapturedStderr();
}

// The zip's sets come gzipped: the first start unpacks its screen's set, whole, into place and
// later starts read the files; a folder that cannot keep them plays them unpacked.
TEST_F(Startup, APackedSetIsUnpackedWholeOnceAndPlayedUnpackedWhereItCannotBeKept) {
    std::string              bin = make_play_folder({plain_level()}), set = bin + "/../resources/1366x768/";
    std::vector<std::string> files;
    for (const picture_file_t& picture : picture_files)
        files.push_back(read_text_file(set + picture.name));
    auto pack = [&] {
        for (int i = 0; i < PICTURE_COUNT; i++) {
            std::filesystem::remove_all(set + picture_files[i].name);
            write_text_file(set + picture_files[i].name + PACKED_PICTURE_SUFFIX, gzipped(files[i]));
        }
    };
    auto unpacked_whole = [&] {
        for (int i = 0; i < PICTURE_COUNT; i++)
            EXPECT_TRUE(read_text_file(set + picture_files[i].name) == files[i]) << picture_files[i].name;
        EXPECT_EQ(platform_files_in(set.c_str()).size(), (size_t)PICTURE_COUNT * 2) << "a temporary left";
    };
    auto textures = [] {
        return std::vector<bool>{render_assets.background_tex != 0, render_assets.gameover_tex != 0,
                                 render_assets.playgame_tex != 0, render_assets.exitgame_tex != 0};
    };
    const std::vector<bool> all(PICTURE_COUNT, true), all_but_background = {false, true, true, true};
    pack();
    EXPECT_EQ(start_and_say(bin, true), "");
    EXPECT_EQ(textures(), all);
    unpacked_whole();
    // later starts never open the packed files
    for (const picture_file_t& picture : picture_files)
        write_text_file(set + picture.name + PACKED_PICTURE_SUFFIX, "damaged");
    for (bool read_ahead : {true, false}) {
        EXPECT_EQ(start_and_say(bin, read_ahead), "");
        EXPECT_EQ(textures(), all);
    }
#ifndef _WIN32
    // two games started at once: every picture whole, whichever wrote it
    pack();
    pid_t games[2];
    for (pid_t& game_pid : games) {
        if ((game_pid = fork()) == 0) {
            if (chdir(bin.c_str()) == 0)
                read_files_ahead(1366, 768);
            platform_wait_aside();
            _exit(0);
        }
    }
    for (pid_t game_pid : games)
        waitpid(game_pid, nullptr, 0);
    unpacked_whole();
#endif
    for (bool read_ahead : {true, false}) {
        // a folder that cannot take the pictures, even for root: said once, each played unpacked
        pack();
        ASSERT_TRUE(std::filesystem::create_directory(set + "background.bmp"));
        EXPECT_EQ(start_and_say(bin, read_ahead), "../resources/1366x768/background.bmp: is not a regular file; "
                                                  "the pictures are unpacked at every start\n");
        EXPECT_EQ(textures(), all);
        EXPECT_FALSE(file_exists(set + "gameover.bmp")) << "written after a write failed";
        // a damaged packed picture is named, and only its screen stays dark
        pack();
        write_text_file(set + "background.bmp" + PACKED_PICTURE_SUFFIX, "BM not packed");
        EXPECT_EQ(start_and_say(bin, read_ahead),
                  "../resources/1366x768/background.bmp.gz: is not a gzip file, or is damaged\n");
        EXPECT_EQ(textures(), all_but_background);
    }
}
