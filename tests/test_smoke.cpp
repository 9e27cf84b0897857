#include <gtest/gtest.h>

#include "app/headless.h"
#include "support.h"

TEST(Smoke, DropFromSpawnRestsAtQuotedHeight) {
    std::string bin = make_play_folder({plain_level()});
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(sim_start_play());
    for (int i = 0; i < 12; i++) {
        sim_frame(0);
        sim_state_t s = sim_state();
        printf("frame %d z=%.7f ground=%d\n", s.frame, s.z, s.on_ground);
    }
    sim_close();
}
