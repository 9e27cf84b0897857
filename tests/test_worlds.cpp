// Worlds of five levels: the card, the folders the picker lists (each it cannot play with the
// reason), and the picker through the real frame function: locked worlds refused, a chosen
// world played to its summary with its results in its own file, a world finished opening the next.
#include <gtest/gtest.h>

#include <filesystem>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/frame.h"
#include "app/headless.h"
#include "app/keeping.h"
#include "app/recorder.h"
#include "app/watch.h"
#include "app/world_picker.h"
#include "app/worlds.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "game/paths.h"
#include "game/screen.h"
#include "game/state.h"
#include "render/render.h"
#include "support.h"

namespace fs = std::filesystem;

namespace {

const char CARD[] = "title: Short Roads\nmaker: Tester\nnote: four rows to the finish\n";

// A level of `height` rows, all floor, the finish from row 4 on: a world that plays to its end unsteered.
std::string short_level(int height, int width = 7) {
    std::string text;
    for (int line = 0; line < height; line++)
        text += std::string(width, height - 1 - line >= 4 ? 'F' : '#') + "\n";
    return text;
}

// A level text as a paint program saves it: an 8-bit RGB PNG, the far end on top.
std::vector<uint8_t> level_png(const std::string& text) {
    level_grid_t g;
    std::string  why;
    EXPECT_TRUE(level_from_text(text, &g, &why)) << why;
    std::vector<uint8_t> rgb;
    for (int row = g.height - 1; row >= 0; row--)
        for (int x = 0; x < g.width; x++)
            for (int c = 2; c >= 0; c--)
                rgb.push_back(g.bgr[((size_t)row * g.width + x) * 3 + c]);
    png_image im{};
    im.version = PNG_IMAGE_VERSION;
    im.width = (png_uint_32)g.width;
    im.height = (png_uint_32)g.height;
    im.format = PNG_FORMAT_RGB;
    png_alloc_size_t     size = 0;
    std::vector<uint8_t> png(1 << 20);
    size = png.size();
    EXPECT_TRUE(png_image_write_to_memory(&im, png.data(), &size, 0, rgb.data(), 0, nullptr));
    png.resize(size);
    return png;
}

// A world's folder: its card and five pictures of the level given (level three as `third` when given).
void make_world(const std::string& folder, const std::string& card, const std::string& level,
                const std::string& third = "") {
    fs::create_directories(folder);
    write_text_file(folder + "/" WORLD_CARD, card);
    const char* names[] = {"levelone", "leveltwo", "levelthree", "levelfour", "levelfive"};
    for (int i = 0; i < LEVEL_COUNT; i++)
        write_binary_file(folder + "/" + names[i] + ".bmp", level_bmp(i == 2 && !third.empty() ? third : level));
}

// A play folder of the designed levels (each finished a few rows in), no campaign of the build's:
// the tests make their own.
std::string play_folder() {
    std::string bin = make_play_folder({plain_level({{20, ".FFFFF."}})});
    fs::remove_all(bin + "/../resources/worlds");
    return bin;
}

// A frame with the buttons pressed, then one with none, so the next press is a press again.
void tap(unsigned held) {
    sim_frame(held);
    sim_frame(0);
}

bool kept_tap(unsigned held) {
    bool going = sim_frame(held);
    keep_frame();
    going = going && sim_frame(0);
    keep_frame();
    return going;
}

// Plays the game on from its level start, unsteered, until the summary; false when it never comes.
bool play_to_summary(bool kept) {
    for (int i = 0; i < 20000 && !game.flow.game_over; i++) {
        if (!sim_frame(0))
            return false;
        if (kept)
            keep_frame();
    }
    return game.flow.game_over;
}

int line_of(const std::string& title) {
    const std::vector<world_t>& listed = picker_worlds();
    for (size_t i = 0; i < listed.size(); i++)
        if (listed[i].info.title == title)
            return (int)i;
    return -1;
}

// Down the picker's lines to `line`, from its top.
void choose_line(int line) {
    for (int i = 0; i < line; i++)
        tap(HOLD_S);
}

struct InPlayFolder : testing::Test {
    std::string was, bin;
    void        SetUp() override {
        was = fs::current_path().string();
        bin = play_folder();
        ASSERT_EQ(chdir(bin.c_str()), 0);
        // the records of this folder alone: none
        keeping_start();
    }
    void TearDown() override {
        EXPECT_EQ(chdir(was.c_str()), 0);
        reset_game_state();
    }
};

}   // namespace

// The card's values as the screen shows them, and each card refused with its line and reason.
TEST(WorldCard, ReadsTitleMakerAndNoteAndRefusesWhatIsNoCard) {
    const struct {
        const char* what;
        std::string text;
        const char* title;   // nullptr: refused, `said` in the reason
        const char* maker;
        const char* note;
        const char* said;
    } cases[] = {
        {"plain", CARD, "Short Roads", "Tester", "four rows to the finish", ""},
        {"Windows line ends, comments, blanks, no note", "# mine\r\n\r\ntitle:  A  \r\nmaker: B\r\n", "A", "B", "", ""},
        {"control characters and tabs", "title: a\tb\x01\x1b[2J\nmaker: c\x7f\n", "a b??[2J", "c?", "", ""},
        {"letters outside ASCII, one mark each", "title: Caf\xc3\xa9 \xe2\x98\x85\nmaker: m\n", "Caf? ?", "m", "", ""},
        {"a title of 10,000 letters", "title: " + std::string(10000, 'x') + "\nmaker: m\n",
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxx...", "m", "", ""},
        {"empty", "", nullptr, nullptr, nullptr, "is empty"},
        {"binary", std::string("title: a\0b\nmaker: c\n", 19), nullptr, nullptr, nullptr, "is not text"},
        {"no title", "maker: m\n", nullptr, nullptr, nullptr, "no title"},
        {"a title of spaces", "title:   \nmaker: m\n", nullptr, nullptr, nullptr, "no title"},
        {"no maker", "title: t\n", nullptr, nullptr, nullptr, "no maker"},
        {"unknown key", "title: t\nmaker: m\ncolour: red\n", nullptr, nullptr, nullptr, "line 3: not \"title"},
        {"a line without a key", "title: t\njust words\n", nullptr, nullptr, nullptr, "line 2: not"},
        {"a title twice", "title: t\ntitle: u\nmaker: m\n", nullptr, nullptr, nullptr,
         "line 2: \"title\" is given twice"},
    };
    for (const auto& c : cases) {
        world_info_t info;
        std::string  why;
        bool         read = world_info_from_text(c.text, &info, &why);
        ASSERT_EQ(read, c.title != nullptr) << c.what << ": " << why;
        if (!read) {
            EXPECT_NE(why.find(c.said), std::string::npos) << c.what << ": " << why;
            continue;
        }
        EXPECT_EQ(info.title, c.title) << c.what;
        EXPECT_EQ(info.maker, c.maker) << c.what;
        EXPECT_EQ(info.note, c.note) << c.what;
        world_info_t again;
        EXPECT_TRUE(world_info_from_text(world_info_to_text(info), &again, &why)) << c.what;
        EXPECT_EQ(world_info_to_text(again), world_info_to_text(info)) << c.what;
    }
}

// Every folder under worlds/ is listed: the ones that play with their titles, the others with
// the file and what keeps each from playing, and nothing ends the program.
TEST_F(InPlayFolder, EachOwnWorldIsListedAndOneThatCannotPlaySaysWhy) {
    enum change_t { AS_MADE, REMOVED, A_FOLDER, A_FIFO, A_LINK_LOOP, WRITTEN, AS_BMP, AS_PNG };
    const struct {
        const char* name;
        const char* file;   // the world's file changed, "" for none
        change_t    change;
        std::string bytes;   // WRITTEN: the file's bytes; AS_BMP, AS_PNG: the level's text
        const char* why;     // "" for a world that plays
    } cases[] = {
        {"a-good", "", AS_MADE, "", ""},
        {"b-png-level", "leveltwo.bmp", AS_PNG, short_level(48), ""},
        {"c-missing-level", "levelfour.bmp", REMOVED, "", "levelfour.bmp: cannot open the file"},
        {"d-wrongly-sized", "levelthree.bmp", AS_BMP, short_level(60),
         "levelthree.bmp: is 7x60, not the size of level one (7x48)"},
        {"e-png-wrongly-sized", "levelfive.bmp", AS_PNG, short_level(47),
         "levelfive.png: is 7x47, not the size of level one (7x48)"},
        {"f-level-a-folder", "leveltwo.bmp", A_FOLDER, "", "leveltwo.bmp: is not a regular file"},
        {"g-link-loop", "levelone.bmp", A_LINK_LOOP, "", "levelone.bmp: cannot open the file"},
        {"h-not-a-picture", "levelfive.bmp", WRITTEN, "not a picture", "levelfive.bmp: "},
        {"i-empty-card", WORLD_CARD, WRITTEN, "", "world.txt: is empty"},
        {"j-binary-card", WORLD_CARD, WRITTEN, std::string("\0\1\2", 3), "world.txt: is not text"},
        {"k-no-card", WORLD_CARD, REMOVED, "", "world.txt: cannot open the file"},
        {"k2-card-a-fifo", WORLD_CARD, A_FIFO, "", "world.txt: is not a regular file"},
        {"l-control-title", WORLD_CARD, WRITTEN, "title: \x01\x02\x03\nmaker: m\n", ""},
        {"m-ten-thousand-letters", WORLD_CARD, WRITTEN, "title: " + std::string(10000, 'x') + "\nmaker: m\n", ""},
    };
    for (const auto& c : cases) {
        std::string folder = OWN_WORLDS_FOLDER + std::string(c.name), file = folder + "/" + c.file;
        make_world(folder, CARD, short_level(48));
        if (c.change != AS_MADE)
            fs::remove(file);
        if (c.change == A_FOLDER)
            fs::create_directory(file);
#ifndef _WIN32
        if (c.change == A_FIFO)
            mkfifo(file.c_str(), 0600);
#else
        // no FIFOs on Windows: a folder is no regular file either
        if (c.change == A_FIFO)
            fs::create_directory(file);
#endif
#ifndef _WIN32
        // a link to itself; a test on Windows makes no links, and the file missing reads the same
        if (c.change == A_LINK_LOOP)
            fs::create_symlink(c.file, file);
#endif
        if (c.change == WRITTEN)
            write_text_file(file, c.bytes);
        if (c.change == AS_BMP)
            write_binary_file(file, level_bmp(c.bytes));
        if (c.change == AS_PNG)
            write_binary_file(file.substr(0, file.size() - 4) + ".png", level_png(c.bytes));
    }
    // an empty folder is listed as a world without its card; a link that leads nowhere is no folder
    fs::create_directories(OWN_WORLDS_FOLDER "n-empty");
#ifndef _WIN32
    fs::create_directory_symlink("nowhere", OWN_WORLDS_FOLDER "o-dangling");
#endif
    std::vector<world_t> listed = worlds_list();
    ASSERT_EQ(listed.size(), 2 + sizeof(cases) / sizeof(cases[0]));
    EXPECT_EQ(listed[0].kind, WORLD_DESIGNED);
    EXPECT_EQ(listed[0].why, "");
    EXPECT_EQ(listed[0].hashes.size(), 16u * LEVEL_COUNT);
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        const world_t& w = listed[i + 1];
        EXPECT_EQ(w.name, cases[i].name);
        EXPECT_EQ(w.kind, WORLD_OWN) << w.name;
        EXPECT_EQ(w.why.rfind(cases[i].why, 0), 0u) << w.name << ": " << w.why;
        EXPECT_EQ(w.why.empty(), std::string(cases[i].why).empty()) << w.name << ": " << w.why;
        EXPECT_EQ(w.hashes.empty(), !w.why.empty()) << w.name;
    }
    EXPECT_EQ(listed[13].info.title, "???");
    EXPECT_EQ(listed[14].info.title.size(), WORLD_TITLE_MAX);
    EXPECT_EQ(listed.back().info.title, "n-empty") << "a world that cannot load is listed by its folder's name";
    EXPECT_EQ(listed.back().why, "world.txt: cannot open the file");
}

// A thousand folders are listed, a folder that cannot be read among them, and past the most the
// picker shows they are said once.
TEST_F(InPlayFolder, AThousandFoldersAndAnUnreadableOneAreListedAndMoreAreSaidOnce) {
    const std::string own = OWN_WORLDS_FOLDER;
    for (size_t i = 0; i < OWN_WORLDS_MAX + 5; i++) {
        char name[16];
        snprintf(name, sizeof(name), "w%04zu", i);
        fs::create_directories(own + name);
        if (i < 3)
            make_world(own + name, CARD, short_level(48));
    }
#ifndef _WIN32
    chmod((own + "w0001").c_str(), 0);
#endif
    testing::internal::CaptureStderr();
    std::vector<world_t> listed = worlds_list();
    std::string          said = testing::internal::GetCapturedStderr();
#ifndef _WIN32
    chmod((own + "w0001").c_str(), 0700);
#endif
    ASSERT_EQ(listed.size(), 1 + OWN_WORLDS_MAX);
    EXPECT_EQ(listed[1].why, "");
    EXPECT_EQ(listed[3].why, "");
    // root reads any folder, and Windows has no such right to take away
#ifndef _WIN32
    if (geteuid() != 0) {
        EXPECT_EQ(listed[2].why, "world.txt: cannot open the file");
    }
#endif
    EXPECT_EQ(listed.back().why, "world.txt: cannot open the file");
    EXPECT_NE(said.find("1005 folders, the first 1000 listed"), std::string::npos) << said;
    EXPECT_EQ(lines_of(said).size(), 1u) << said;
}

// The picker through the frame function: l opens it over the menu with the designed game, the
// campaign in its folders' order and the player's own; a locked or broken world refuses Enter;
// the own world plays to its summary, its results in its own file, the designed player.s untouched;
// back on the menu PLAY GAME plays the designed levels again, and Esc on the picker never leaves.
TEST_F(InPlayFolder, ThePickerListsRefusesLockedWorldsAndPlaysAChosenOneToItsSummary) {
    make_world(CAMPAIGN_FOLDER "02-second", "title: Second\nmaker: Us\n", short_level(48));
    make_world(CAMPAIGN_FOLDER "01-first", "title: First\nmaker: Us\n", short_level(48));
    make_world(OWN_WORLDS_FOLDER "mine", "title: Mine\nmaker: Me\nnote: my own\n", short_level(30, 9));
    make_world(OWN_WORLDS_FOLDER "broken", "title: Broken\nmaker: Me\n", short_level(30), short_level(31));
    ASSERT_TRUE(sim_open(bin.c_str()));
    tap(HOLD_L);
    ASSERT_EQ(game_screen(), SCREEN_WORLDS);
    ASSERT_EQ(game.flow.worlds_lines, 5);
    std::vector<std::string> titles;
    for (const world_t& w : picker_worlds())
        titles.push_back(w.info.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"QUOVIX", "First", "Second", "Broken", "Mine"}));
    EXPECT_EQ(records_view.world_lines[1], "First   BY Us   NO BEST YET   LOCKED");
    EXPECT_EQ(records_view.world_lines[4], "Mine   BY Me   NO BEST YET   OPEN");
    EXPECT_EQ(records_view.world_notes[3], "CANNOT PLAY: levelthree.bmp: is 7x31, not the size of level one (7x30)");
    // the locked, the broken and one broken since it was listed refuse Enter: the picker stays,
    // nothing is loaded, the game goes on
    const struct {
        int         line;
        const char* refusal;
    } refused[] = {
        {1, "IT CANNOT BE PLAYED YET"},
        {2, "IT CANNOT BE PLAYED YET"},
        {3, "CANNOT PLAY: levelthree.bmp: is 7x31"},
        {4, "CANNOT PLAY: levelone.bmp: cannot open the file"},
    };
    for (const auto& r : refused) {
        tap(HOLD_ESC);
        ASSERT_EQ(game_screen(), SCREEN_MENU);
        ASSERT_FALSE(sim_ended()) << "Esc on the picker left the game";
        tap(HOLD_L);
        if (r.line == 4)
            fs::rename(OWN_WORLDS_FOLDER "mine/levelone.bmp", OWN_WORLDS_FOLDER "mine/levelone.kept");
        choose_line(r.line);
        tap(HOLD_ENTER);
        tap(0);
        EXPECT_EQ(game_screen(), SCREEN_WORLDS) << r.line;
        EXPECT_EQ(records_view.world_refusal.rfind(r.refusal, 0), 0u) << r.line << ": " << records_view.world_refusal;
        EXPECT_EQ(game.level.width, 7) << r.line;
        EXPECT_FALSE(sim_ended()) << r.line;
    }
    fs::rename(OWN_WORLDS_FOLDER "mine/levelone.kept", OWN_WORLDS_FOLDER "mine/levelone.bmp");
    // the own world plays: level one is its own, 9 wide
    tap(HOLD_ENTER);
    ASSERT_TRUE(game.flow.game_started);
    EXPECT_EQ(game.level.width, 9);
    EXPECT_EQ(game.level.height, 30);
    ASSERT_TRUE(play_to_summary(false));
    EXPECT_GT(game.flow.lives, 0);
    std::string results = read_text_file(OWN_WORLDS_FOLDER "mine/player.s");
    EXPECT_EQ(lines_of(results).size(), (size_t)LEVEL_COUNT) << results;
    EXPECT_FALSE(file_exists("player.s")) << "the world's results went into the designed player.s";
    // Enter on the summary: the menu, and PLAY GAME the designed levels, writing player.s
    tap(HOLD_ENTER);
    ASSERT_EQ(game_screen(), SCREEN_MENU);
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(game.level.width, 7);
    EXPECT_EQ(game.level.height, 240);
    ASSERT_TRUE(play_to_summary(false));
    EXPECT_EQ(lines_of(read_text_file("player.s")).size(), (size_t)LEVEL_COUNT);
    EXPECT_EQ(read_text_file(OWN_WORLDS_FOLDER "mine/player.s"), results);
    // a campaign world's results go beside the records, never into a folder the picker lists
    EXPECT_FALSE(fs::exists(WORLD_RESULTS_FOLDER));
    sim_close();
}

// A world finished with a life left opens the next, kept in the records across starts; a game
// lost opens nothing; a campaign world's results never show as a world of the player's.
TEST_F(InPlayFolder, AWorldFinishedWithALifeLeftOpensTheNextForGood) {
    make_world(CAMPAIGN_FOLDER "01-first", "title: First\nmaker: Us\n", short_level(48));
    make_world(CAMPAIGN_FOLDER "02-second", "title: Second\nmaker: Us\n", short_level(48));
    ASSERT_TRUE(sim_open(bin.c_str()));
    keeping_start();
    // the designed game won
    ASSERT_TRUE(kept_tap(HOLD_ENTER));
    ASSERT_TRUE(play_to_summary(true));
    ASSERT_GT(game.flow.lives, 0);
    ASSERT_TRUE(kept_tap(HOLD_ENTER));
    ASSERT_TRUE(kept_tap(HOLD_L));
    EXPECT_TRUE(picker_world_open(line_of("First")));
    EXPECT_FALSE(picker_world_open(line_of("Second")));
    EXPECT_NE(records_view.world_lines[0].find("BEST "), std::string::npos) << records_view.world_lines[0];
    // the first campaign world won opens the second
    choose_line(line_of("First"));
    ASSERT_TRUE(kept_tap(HOLD_ENTER));
    ASSERT_TRUE(kept_tap(0));
    ASSERT_TRUE(game.flow.game_started);
    ASSERT_TRUE(play_to_summary(true));
    EXPECT_EQ(lines_of(read_text_file(WORLD_RESULTS_FOLDER "01-first.player.s")).size(), (size_t)LEVEL_COUNT);
    sim_close();
    // a new start reads the records: the second stays open, and no folder of results is listed
    reset_game_state();
    ASSERT_TRUE(sim_open(bin.c_str()));
    keeping_start();
    ASSERT_TRUE(kept_tap(HOLD_L));
    EXPECT_TRUE(picker_world_open(line_of("Second")));
    EXPECT_EQ(picker_worlds().size(), 3u);
    EXPECT_EQ(read_text_file(RECORDS_FILE).rfind("quovix records 2\n", 0), 0u);
    sim_close();
}

// The one place a world made in memory plugs in: its pictures from a function, checked as a folder's.
TEST_F(InPlayFolder, AWorldMadeInMemoryIsCheckedAndPlayedAsAFoldersIs) {
    world_maker_t maker = [](uint64_t seed, int level, std::vector<uint8_t>* bmp, std::string* why) {
        if (seed == 0 && level == 4) {
            *why = "no level four from seed 0";
            return false;
        }
        *bmp = level_bmp(short_level(40 + (int)seed));
        return true;
    };
    world_t broken = world_made("seed-0", {"Made", "Maker", ""}, maker, 0);
    EXPECT_EQ(broken.why, "world seed-0 level 4: no level four from seed 0");
    world_t made = world_made("seed-2", {"Made", "Maker", ""}, maker, 2);
    ASSERT_EQ(made.why, "");
    ASSERT_TRUE(sim_open(bin.c_str()));
    world_play(made);
    load_game();
    EXPECT_EQ(game.level.height, 42);
    EXPECT_EQ(level_as_found(3).hash, made.hashes.substr(32, 16));
    sim_close();
}

// A kept game of a world is watched to its records, its menu frames choosing the world on the
// picker again; once the world is gone it is refused with the level that is not the one played on.
TEST_F(InPlayFolder, AWorldsKeptGameIsWatchedThroughThePickerUntilTheWorldIsGone) {
    make_world(OWN_WORLDS_FOLDER "mine", "title: Mine\nmaker: Me\n", short_level(30, 9));
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(kept_tap(HOLD_L));
    choose_line(1);
    ASSERT_TRUE(kept_tap(HOLD_ENTER));
    ASSERT_TRUE(play_to_summary(true));
    ASSERT_EQ(kept_games(bin).size(), 1u);
    std::string kept = bin + "/../replays/" + kept_games(bin)[0], why;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(watch_start(kept, &why)) << why;
    EXPECT_EQ(game.level.width, 9) << "the watching did not choose the world";
    command_t keys{};
    keys.focused = true;
    for (int i = 0; i < 20000 && records_view.watch_line.rfind("WATCHED", 0) != 0; i++)
        watch_frame(keys);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("watched to its end, with the records it was played to"), std::string::npos) << said;
    keys.held = keys.pressed = HOLD_ESC;
    watch_frame(keys);
    EXPECT_FALSE(watching());
    fs::remove(OWN_WORLDS_FOLDER "mine/levelone.bmp");
    EXPECT_FALSE(watch_start(kept, &why));
    EXPECT_EQ(why, "level 1 (levelone.bmp) is not the one it was played on");
    EXPECT_FALSE(watching());
    sim_close();
}
