// The pacing of frames against fake displays: how often they refresh, what swap
// control the driver offers, how long frames take to draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/headless.h"
#include "app/pace.h"
#include "support.h"

namespace {

const double MS = 1e6;
const int    FRAMES = 3000, SETTLED = 200, PAUSE_AT = 400;   // SETTLED: the menu has measured the display

struct pace_case_t {
    const char* name;
    double      refresh_hz;   // 0: swaps wait for nothing
    int         control;      // 0: no swap control; 1: the driver ignores intervals above 1; 2: it takes them
    double      draw_ms;      // a frame, from its start to its swap; the first `first` frames take first_ms
    int         first;
    double      first_ms;
    int         hiccup;   // every hiccup-th frame takes hiccup_ms more; 0 none
    bool        pause;    // a level change's 2.5 s pause in frame PAUSE_AT
    bool        run_free;
    pace_mode_t mode;   // then, once settled
    int         interval;
    double      rate;                      // frames a second over the last ten seconds
    double      shortest_ms, longest_ms;   // between two frames shown, once settled
    double      hiccup_ms = 20;
};

const pace_case_t pace_cases[] = {
    // the swaps' waits alone: a sleep could only make a frame miss its refresh
    {"60 Hz", 60, 2, 4, 0, 0, 0, false, false, PACE_DISPLAY, 1, 60, 16.67, 16.67},
    {"59.94 Hz, a pause", 59.94, 2, 4, 0, 0, 0, true, false, PACE_DISPLAY, 1, 59.94, 16.68, 16.68},
    {"60 Hz, pictures built first", 60, 2, 4, 8, 30, 0, false, false, PACE_DISPLAY, 1, 60, 16.67, 16.67},
    {"60 Hz, a slow frame now and then", 60, 2, 10, 0, 0, 10, false, false, PACE_DISPLAY, 1, 54.55, 16.67, 33.33},
    // every second or fourth refresh
    {"120 Hz", 120, 2, 4, 0, 0, 0, false, false, PACE_DISPLAY, 2, 60, 16.67, 16.67},
    {"240 Hz", 240, 2, 4, 0, 0, 0, false, false, PACE_DISPLAY, 4, 60, 16.67, 16.67},
    // as near a multiple of 60 as 59 Hz is to 60: the tolerance grows with the multiple
    {"118 Hz", 118, 2, 4, 0, 0, 0, false, false, PACE_DISPLAY, 2, 59, 16.95, 16.95},
    {"236 Hz", 236, 2, 4, 0, 0, 0, false, false, PACE_DISPLAY, 4, 59, 16.95, 16.95},
    // measured again after asking, and paced by a sleep when the driver ignored it
    {"120 Hz, interval ignored", 120, 1, 4, 0, 0, 0, false, false, PACE_SLEEP, 1, 60, 16.67, 16.67},
    // no multiple of 60: each frame on the first refresh after its time
    {"144 Hz", 144, 2, 4, 0, 0, 0, false, false, PACE_SLEEP, 1, 60, 13.89, 20.83},
    {"144 Hz, a pause", 144, 2, 4, 0, 0, 0, true, false, PACE_SLEEP, 1, 60, 13.89, 20.83},
    // swaps that wait for nothing: a virtual or remote display
    {"no swap control", 0, 0, 4, 0, 0, 0, false, false, PACE_SLEEP, 0, 60, 16.67, 16.67},
    {"swap control that waits for nothing", 0, 2, 4, 0, 0, 0, false, false, PACE_SLEEP, 1, 60, 16.67, 16.67},
    {"no swap control, a pause", 0, 0, 4, 0, 0, 0, true, false, PACE_SLEEP, 0, 60, 16.67, 16.67},
    // a frame late by less than two catches up at once, so the rate holds
    {"no swap control, a slow frame now and then", 0, 0, 4, 0, 0, 10, false, false, PACE_SLEEP, 0, 60, 4, 36.67},
    {"no swap control, a frame 35 ms slow now and then", 0, 0, 4, 0, 0, 10, false, false, PACE_SLEEP, 0, 60, 4, 51.67,
     35},
    // a menu drawn in a sixtieth of a second looks like a 60 Hz display until play draws faster
    {"no wait, a menu as slow as 60 Hz", 0, 2, 4, 90, 16.67, 0, false, false, PACE_SLEEP, 1, 60, 16.67, 16.67},
    // below 60 a second the game runs slower, as designed
    {"slow machine", 0, 0, 20, 0, 0, 0, false, false, PACE_SLEEP, 0, 50, 20, 20},
    {"slow machine, 144 Hz", 144, 2, 20, 0, 0, 0, false, false, PACE_SLEEP, 1, 48, 20.83, 20.83},
    {"free, no swap control", 0, 0, 4, 0, 0, 0, false, true, PACE_FREE, 0, 250, 4, 4},
};

struct paced_run_t {
    std::vector<int64_t> shown;   // when each frame reached the screen
    int                  interval;
    int                  sleeps;   // once settled
    int64_t              missed_when_settled;
};

// Frames as the window runs them: drawn, swapped (on a refresh where swaps wait), then paced.
paced_run_t run_paced(const pace_case_t& c) {
    pace_start(c.run_free, c.control > 0);
    paced_run_t run = {{}, c.control > 0 ? 1 : 0, 0, 0};
    double      refresh = c.refresh_hz > 0 ? SECOND_NS / c.refresh_hz : 0, last_tick = -1e18, t = 5e9;
    for (int i = 0; i < FRAMES; i++) {
        t += (i < c.first ? c.first_ms : c.draw_ms) * MS;
        t += ((c.hiccup && i % c.hiccup == 0 ? c.hiccup_ms : 0) + (c.pause && i == PAUSE_AT ? 2500 : 0)) * MS;
        // the first refresh at least `interval` refreshes after the last swap's
        if (run.interval > 0 && refresh > 0)
            t = last_tick =
                refresh * std::max(std::ceil(t / refresh - 1e-6), std::round(last_tick / refresh) + run.interval);
        run.shown.push_back((int64_t)t);
        pace_step_t step = pace_frame_ended((int64_t)t);
        if (step.swap_interval == 1 || (step.swap_interval > 1 && c.control == 2))
            run.interval = step.swap_interval;
        run.sleeps += step.wake_ns > t && i >= SETTLED;
        if (i == SETTLED - 1)
            run.missed_when_settled = frame_pace.missed_ns;
        t = std::max(t, (double)step.wake_ns);
    }
    return run;
}

}   // namespace

TEST(Pace, DisplaysOfEveryKindShowSixtyFramesASecond) {
    for (const pace_case_t& c : pace_cases) {
        SCOPED_TRACE(c.name);
        paced_run_t run = run_paced(c);
        EXPECT_EQ(frame_pace.mode, c.mode);
        EXPECT_EQ(run.interval, c.interval);
        EXPECT_TRUE(c.mode != PACE_DISPLAY || run.sleeps == 0);
        int64_t end = run.shown.back();
        long    last_ten =
            std::count_if(run.shown.begin(), run.shown.end(), [&](int64_t s) { return s > end - 10 * SECOND_NS; });
        EXPECT_NEAR((last_ten - 1) / 10.0, c.rate, 0.2);
        double shortest = 1e18, longest = 0;
        for (int i = SETTLED; i < FRAMES; i++) {
            if (!c.pause || (i != PAUSE_AT && i != PAUSE_AT + 1)) {   // the frame after a pause starts at once
                shortest = std::min(shortest, (run.shown[i] - run.shown[i - 1]) / MS);
                longest = std::max(longest, (run.shown[i] - run.shown[i - 1]) / MS);
            }
        }
        EXPECT_NEAR(shortest, c.shortest_ms, 0.02);
        EXPECT_NEAR(longest, c.longest_ms, 0.02);
        // frames made and frames missed for slowness or a pause add up to 60 a second
        if (c.mode == PACE_SLEEP) {
            double missed = (double)(frame_pace.missed_ns - run.missed_when_settled) / (SECOND_NS / PACE_RATE);
            double seconds = (double)(end - run.shown[SETTLED - 1]) / SECOND_NS;
            EXPECT_NEAR((FRAMES - SETTLED + missed) / seconds, 60, 0.5);
        }
    }
}

TEST(Pace, TheWindowFreeRunnerNeverPaces) {
    pace_start(false, false);
    ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str()));
    for (int i = 0; i < 100; i++)
        sim_frame(i == 1 ? HOLD_ENTER : 0);
    sim_close();
    EXPECT_EQ(frame_pace.frames_ended, 0);
}
