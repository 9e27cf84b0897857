#include <gtest/gtest.h>

#include "e2e_support.h"
#include "support.h"

TEST(Window, CoversTheScreenAndEscLeaves) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    game_run run;
    ASSERT_TRUE(start_game(&run, make_play_folder({plain_level()})));
    ASSERT_TRUE(wait_for_window(&run));
    int x, y, w, h, sw, sh;
    ASSERT_TRUE(window_geometry(run, &x, &y, &w, &h, &sw, &sh));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, sw);
    EXPECT_EQ(h, sh);
    screen_shot shot = take_screenshot();
    ASSERT_GT(shot.width, 0);
    // the menu picture fills the screen: no corner is left unpainted black
    double tl[3], br[3];
    mean_colour(shot, 0, 0, 40, 40, tl);
    mean_colour(shot, shot.width - 40, shot.height - 40, shot.width, shot.height, br);
    EXPECT_GT(tl[0] + tl[1] + tl[2], 15);
    EXPECT_GT(br[0] + br[1] + br[2], 3);
    press_key("Escape");
    ASSERT_TRUE(wait_for_exit(&run));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(game_output(run).find("OpenGL version: "), std::string::npos);
}
