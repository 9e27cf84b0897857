// The level timer as a table of scripts run on the fake clock.
#include <gtest/gtest.h>

#include <sstream>

#include "app/headless.h"
#include "game/timer.h"

// Script words: s start, p stop, r reset, +N advance the clock N ms;
// =N the elapsed ms, #N the whole seconds, R running, S stopped.
struct timer_case_t {
    int32_t     clock_at_start;
    const char* script;
};

static const timer_case_t timer_cases[] = {
    // repeated or idle operations change nothing; counting begins at the start
    {40000, "=0 #0 +3000 p r S =0 s +800 s +200 =1000 p +500 p =1000"},
    // a resume leaves out every pause
    {40000, "s +5000 p +3000 =5000 s =5000 +250 =5250 p +10000 s +750 =6000"},
    // a reset while running restarts from zero and keeps counting
    {40000, "s +7000 r R =0 +1500 =1500"},
    // a reset while stopped stays stopped; the time since the stop is not counted
    {40000, "s +4000 p r S +9000 =0 s =0 +300 =300"},
    // whole seconds round down, running or stopped
    {40000, "s +1999 #1 +1 #2 r +1999 p #1 s +1 p =2000 #2"},
    // across the wrap of the tick counter
    {INT32_MAX - 400, "s +1000 =1000 p +2000 s +500 =1500"},
};

TEST(Timer, ScriptsOfStartsStopsAndResets) {
    for (const timer_case_t& c : timer_cases) {
        reset_game_state();
        game.cmd.now_ms = c.clock_at_start;
        std::istringstream words(c.script);
        for (std::string w; words >> w;) {
            long n = w.size() > 1 ? std::stol(w.substr(1)) : 0;
            SCOPED_TRACE(std::string(c.script) + " at " + w);
            switch (w[0]) {
            case 's': timer_start(); break;
            case 'p': timer_stop(); break;
            case 'r': timer_reset(); break;
            case '+': game.cmd.now_ms = (int32_t)((uint32_t)game.cmd.now_ms + (uint32_t)n); break;
            case '=': EXPECT_EQ(timer_elapsed_ms(), (uint32_t)n); break;
            case '#': EXPECT_EQ(timer_elapsed_seconds(), (uint32_t)n); break;
            default: EXPECT_EQ(game.timer.running, w[0] == 'R');
            }
        }
    }
    reset_game_state();
}
