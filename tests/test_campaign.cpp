// The campaign: each world under data/worlds/ is five levels with their solver
// replays and a world.txt; every replay finishes its level with every life, the
// worlds rise in quovix-solve's grade, and the build makes each world's pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/headless.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "assets/replay_text.h"
#include "game/events.h"
#include "game/levelmap.h"
#include "game/tuning.h"
#include "replay.h"
#include "support.h"

namespace fs = std::filesystem;

static const std::string worlds_dir = std::string(QUOVIX_SOURCE_DIR) + "/data/worlds/";
static const std::string tools_dir = std::string(QUOVIX_TOOLS_DIR) + "/";

static std::vector<std::string> campaign_worlds() {
    std::vector<std::string> worlds;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::u8path(worlds_dir)))
        if (e.is_directory())
            worlds.push_back(e.path().filename().u8string());
    std::sort(worlds.begin(), worlds.end());
    return worlds;
}

// A played level's name, its picture's name without ".bmp": the name of its sources.
static std::string level_name(int i) {
    std::string picture = resource_name(level_files[i]);
    return picture.substr(0, picture.size() - 4);
}

struct campaign_level_t {
    std::string world;
    int         level;
};

// Named in the test's listing by its world and level, not by its bytes.
static void PrintTo(const campaign_level_t& l, std::ostream* os) { *os << l.world << "/" << level_name(l.level); }

static std::vector<campaign_level_t> campaign_levels() {
    std::vector<campaign_level_t> levels;
    for (const std::string& w : campaign_worlds())
        for (int i = 0; i < LEVEL_COUNT; i++)
            levels.push_back({w, i});
    return levels;
}

static int logged(game_event_t event) {
    int n = 0;
    for (const sim_event_t& e : sim_event_log())
        n += e.event == event;
    return n;
}

using CampaignLevel = testing::TestWithParam<campaign_level_t>;

TEST_P(CampaignLevel, PassesTheCheckAndItsReplayFinishesItWithEveryLife) {
    std::string path = worlds_dir + GetParam().world + "/" + level_name(GetParam().level);
    std::string said = temp_folder() + "/check.out";
    EXPECT_EQ(system((tools_dir + "quovix-level check " + path + ".txt > \"" + said + "\"").c_str()), 0)
        << read_text_file(said);
    std::vector<unsigned> frames;
    std::string           why;
    ASSERT_TRUE(replay_from_text(read_text_file(path + ".replay"), &frames, &why)) << why;
    ASSERT_TRUE(sim_open(make_play_folder({read_text_file(path + ".txt")}).c_str()) && sim_start_play());
    replay_outcome_t out = replay_play(frames);
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.finish_frame, (int)frames.size());
    EXPECT_EQ(out.lives_lost, 0);
    EXPECT_EQ(logged(EV_LIFE_LOST), 0);
    EXPECT_EQ(logged(EV_HEART), out.lives_at_end - START_LIVES);
    EXPECT_EQ(logged(EV_STAR), out.stars);
    sim_close();
}

INSTANTIATE_TEST_SUITE_P(Worlds, CampaignLevel, testing::ValuesIn(campaign_levels()),
                         [](const testing::TestParamInfo<campaign_level_t>& info) {
                             std::string name = info.param.world + "_" + level_name(info.param.level);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

static std::string field_of(const std::string& world_txt, const std::string& field) {
    for (const std::string& line : lines_of(world_txt))
        if (line.rfind(field + ": ", 0) == 0)
            return line.substr(field.size() + 2);
    return "";
}

// Six worlds or more after the designed one, each with its title, maker and note, its
// five levels of one size, and every tile kind somewhere in the campaign; the build
// made each world's pictures and copied its world.txt.
TEST(Campaign, SixWorldsOfFiveLevelsOfOneSizeEachWithItsTitleUseEveryTileKind) {
    std::vector<std::string> worlds = campaign_worlds();
    ASSERT_GE(worlds.size(), 6u);
    EXPECT_EQ(worlds[0].substr(0, 3), "02-");
    std::string kinds_used;
    for (const std::string& w : worlds) {
        std::string about = read_text_file(worlds_dir + w + "/world.txt");
        EXPECT_NE(field_of(about, "title"), "") << w;
        EXPECT_EQ(field_of(about, "maker"), "Quovix") << w;
        EXPECT_NE(field_of(about, "note"), "") << w;
        EXPECT_EQ(read_text_file(std::string(QUOVIX_RESOURCES_DIR) + "/worlds/" + w + "/world.txt"), about) << w;
        int width = 0, height = 0;
        for (int i = 0; i < LEVEL_COUNT; i++) {
            level_grid_t g;
            std::string  why, text = read_text_file(worlds_dir + w + "/" + level_name(i) + ".txt");
            ASSERT_TRUE(level_from_text(text, &g, &why)) << w << " " << level_name(i) << ": " << why;
            if (i == 0)
                width = g.width, height = g.height;
            EXPECT_TRUE(g.width == width && g.height == height) << w << " " << level_name(i);
            for (char c : text)
                if (kinds_used.find(c) == std::string::npos)
                    kinds_used += c;
            std::string          bmp = read_text_file(std::string(QUOVIX_RESOURCES_DIR) + "/worlds/" + w + "/" +
                                                      resource_name(level_files[i]));
            std::vector<uint8_t> made = level_to_bmp(g);
            EXPECT_EQ(bmp, std::string(made.begin(), made.end())) << w << " " << level_name(i);
        }
    }
    for (char kind : std::string(".#FW*H"))
        EXPECT_NE(kinds_used.find(kind), std::string::npos) << kind;
}

// The grade quovix-solve gives each level on its replay, the solver's own way.
static double grade_of(const std::string& level) {
    std::string said = temp_folder() + "/grade.out";
    std::string command = tools_dir + "quovix-solve --grade " + level + ".txt " + level + ".replay > \"" + said + "\"";
    EXPECT_EQ(system(command.c_str()), 0) << level;
    std::string line = read_text_file(said);
    size_t      at = line.find(": grade ");
    EXPECT_NE(at, std::string::npos) << line;
    return at == std::string::npos ? 0.0 : atof(line.c_str() + at + 8);
}

TEST(Campaign, EachWorldGradesHigherThanTheOneBefore) {
    double before = -1;
    for (const std::string& w : campaign_worlds()) {
        double sum = 0;
        for (int i = 0; i < LEVEL_COUNT; i++)
            sum += grade_of(worlds_dir + w + "/" + level_name(i));
        EXPECT_GT(sum / LEVEL_COUNT, before) << w;
        before = sum / LEVEL_COUNT;
    }
}
