// The random world: the five levels a seed makes, the same every time and rising in difficulty;
// chosen on the picker and played to its summary through the real frame function by the levels'
// own flights, level one made when chosen and each next while the one before is played, the
// results in the world's own file.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "app/headless.h"
#include "app/keeping.h"
#include "app/world_picker.h"
#include "app/worlds.h"
#include "assets/bmp.h"
#include "game/levelmap.h"
#include "game/paths.h"
#include "game/screen.h"
#include "game/state.h"
#include "levelgen/random_world.h"
#include "render/render.h"
#include "support.h"

namespace fs = std::filesystem;

namespace {

// A frame with the buttons pressed, then one with none, so the next press is a press again.
void tap(unsigned held) {
    sim_frame(held);
    sim_frame(0);
}

struct RandomWorldInPlayFolder : testing::Test {
    std::string was, bin;
    void        SetUp() override {
        was = fs::current_path().string();
        bin = make_play_folder({plain_level({{20, ".FFFFF."}})});
        fs::remove_all(bin + "/../resources/worlds");
        ASSERT_EQ(chdir(bin.c_str()), 0);
        keeping_start();
        random_world_forget();
    }
    void TearDown() override {
        EXPECT_EQ(chdir(was.c_str()), 0);
        worlds_list_also(nullptr);
        random_world_forget();
        reset_game_state();
    }
};

// The five pictures of a seed's world, made afresh.
std::vector<std::vector<uint8_t>> five_pictures(uint64_t seed) {
    random_world_forget();
    world_t                           w = random_world(seed);
    std::vector<std::vector<uint8_t>> pictures;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        std::vector<uint8_t> bmp;
        std::string          why;
        EXPECT_TRUE(w.make(seed, level, &bmp, &why)) << why;
        pictures.push_back(bmp);
    }
    return pictures;
}

}   // namespace

TEST(RandomWorld, EachLevelAsksTheGeneratorForAFixedSeedAndARisingDifficulty) {
    const struct {
        uint64_t seed;
        int      level;
        uint64_t level_seed;
        int      difficulty;
    } rows[] = {
        {0, 1, 0, 2},
        {0, 5, 4, 10},
        {12345, 3, 12347, 6},
        {UINT64_MAX, 1, UINT64_MAX, 2},
        // past the largest seed the levels' seeds wrap to 0
        {UINT64_MAX, 2, 0, 4},
        {UINT64_MAX - 1, 4, 1, 8},
    };
    for (const auto& r : rows) {
        random_level_t asked = random_world_level(r.seed, r.level);
        EXPECT_EQ(asked.seed, r.level_seed) << r.seed << " level " << r.level;
        EXPECT_EQ(asked.difficulty, r.difficulty) << r.seed << " level " << r.level;
    }
    for (uint64_t seed : {(uint64_t)0, (uint64_t)99, UINT64_MAX}) {
        for (int level = 2; level <= LEVEL_COUNT; level++)
            EXPECT_GT(random_world_level(seed, level).difficulty, random_world_level(seed, level - 1).difficulty);
        EXPECT_LE(random_world_level(seed, LEVEL_COUNT).difficulty, LEVELGEN_DIFFICULTY_MAX);
    }
    // the picker's seeds come from the clock, one after another unlike
    EXPECT_NE(random_world_new_seed(), random_world_new_seed());
}

// The same seed makes the same five pictures, each proven and the designed size; the game's own
// state comes back as it was around each making.
TEST_F(RandomWorldInPlayFolder, TheSameSeedMakesTheSameFivePicturesAndLeavesTheGameAsItWas) {
    ASSERT_TRUE(sim_open(bin.c_str()));
    tap(0);
    sim_state_t before = sim_state();
    size_t      events_before = sim_event_log().size();
    auto        first = five_pictures(2026);
    sim_state_t after = sim_state();
    EXPECT_EQ(after.frame, before.frame);
    EXPECT_EQ(after.level, before.level);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(game_screen(), SCREEN_MENU);
    EXPECT_EQ(game.level.height, 240);
    EXPECT_EQ(sim_event_log().size(), events_before) << "a level's flights left their events in the game's log";
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        const levelgen_t* made = random_world_made(2026, level);
        ASSERT_NE(made, nullptr) << level;
        EXPECT_TRUE(made->proven) << level;
        EXPECT_EQ(made->grid.width, LEVEL_WIDTH) << level;
        EXPECT_EQ(made->grid.height, LEVEL_HEIGHT) << level;
    }
    EXPECT_EQ(five_pictures(2026), first);
    auto other = five_pictures(2027);
    EXPECT_NE(other[0], first[0]);
    // the menu goes on as before, the designed game still its level one
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(game.level.height, 240);
    // each is the level the level tool makes from its seed and difficulty, from play started as the tool starts it
    five_pictures(2026);
    for (int level = 1; level <= LEVEL_COUNT; level += 2) {
        random_level_t asked = random_world_level(2026, level);
        levelgen_t     tool;
        levelgen_make(asked.seed, asked.difficulty, LEVEL_WIDTH, LEVEL_HEIGHT, IDEA_MIXED, &tool);
        EXPECT_EQ(tool.grid.bgr, random_world_made(2026, level)->grid.bgr) << level;
    }
    sim_close();
}

// Chosen on the picker: its line shows the seed, level one is made at once and each next while the
// one before is played; the levels' own flights play it to the summary, its results in its own file.
TEST_F(RandomWorldInPlayFolder, ThePickersLinePlaysTheSeedsWorldToItsSummaryInItsOwnResults) {
    ASSERT_TRUE(sim_open(bin.c_str()));
    random_world_plug_in();
    tap(HOLD_L);
    ASSERT_EQ(game_screen(), SCREEN_WORLDS);
    const std::vector<world_t>& listed = picker_worlds();
    ASSERT_EQ(listed.size(), 2u);
    const world_t random = listed[1];
    EXPECT_EQ(random.kind, WORLD_SEEDED);
    EXPECT_EQ(records_view.world_lines[1],
              "RANDOM WORLD   SEED " + std::to_string(random.seed) + "   NO BEST YET   OPEN");
    EXPECT_NE(records_view.world_notes[1].find("quovix --seed " + std::to_string(random.seed)), std::string::npos);
    EXPECT_EQ(random_world_made(random.seed, 1), nullptr) << "listing made a level";
    // a new seed each time the picker opens
    tap(HOLD_ESC);
    tap(HOLD_L);
    EXPECT_NE(picker_worlds()[1].seed, random.seed);
    uint64_t seed = picker_worlds()[1].seed;
    tap(HOLD_S);
    // Enter on the picker asks for the world, the frame after it starts play; a frame more and
    // play is where the levels' proving flights began, a frame on from the start
    tap(HOLD_ENTER);
    ASSERT_TRUE(sim_frame(0));
    ASSERT_TRUE(game.flow.game_started);
    ASSERT_NE(random_world_made(seed, 1), nullptr);
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        ASSERT_EQ(game.flow.current_level, level);
        const levelgen_t* made = random_world_made(seed, level);
        ASSERT_NE(made, nullptr) << level;
        EXPECT_EQ(game.level.pixels, [&] {
            level_map_t          picture;
            std::string          why;
            std::vector<uint8_t> bmp = level_to_bmp(made->grid);
            parse_level_picture(bmp.data(), bmp.size(), &picture, &why);
            return picture.pixels;
        }()) << level;
        if (level + 2 <= LEVEL_COUNT) {
            EXPECT_EQ(random_world_made(seed, level + 2), nullptr) << "level " << level + 2 << " made too soon";
        }
        std::vector<buttons_t> flight = made->frames;
        for (buttons_t keys : flight)
            ASSERT_TRUE(sim_frame(keys));
        ASSERT_TRUE(game.flow.on_finish) << level << " seed " << seed << " lives " << game.flow.lives;
        if (level < LEVEL_COUNT) {
            EXPECT_NE(random_world_made(seed, level + 1), nullptr) << "level " << level + 1 << " not made in play";
        }
        for (int i = 0; i < 2000 && game.flow.current_level == level && !game.flow.game_over; i++)
            ASSERT_TRUE(sim_frame(0));
    }
    ASSERT_TRUE(game.flow.game_over);
    EXPECT_GE(game.flow.lives, game_at_start.flow.lives) << "a level's own flight lost a life";
    std::string results = read_text_file(WORLD_RESULTS_FOLDER "random-" + std::to_string(seed) + ".player.s");
    EXPECT_EQ(lines_of(results).size(), (size_t)LEVEL_COUNT) << results;
    EXPECT_FALSE(file_exists("player.s")) << "the random world's results went into the designed player.s";
    // Enter on the summary: PLAY GAME plays the designed levels again, into player.s
    tap(HOLD_ENTER);
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(game.level.height, 240);
    EXPECT_EQ(world_playing().kind, WORLD_DESIGNED);
    sim_close();
}

// --seed's way in: the world readied before the first frame, play starting on it.
TEST_F(RandomWorldInPlayFolder, ASeedGivenAtStartPlaysItsWorldFromTheFirstFrame) {
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(play_world_at_start(random_world(7)));
    ASSERT_NE(random_world_made(7, 1), nullptr);
    sim_frame(0);
    ASSERT_TRUE(game.flow.game_started);
    EXPECT_EQ(world_playing().name, "random-7");
    std::vector<uint8_t> bmp = level_to_bmp(random_world_made(7, 1)->grid);
    level_map_t          picture;
    std::string          why;
    ASSERT_TRUE(parse_level_picture(bmp.data(), bmp.size(), &picture, &why)) << why;
    EXPECT_EQ(game.level.pixels, picture.pixels);
    sim_close();
}
