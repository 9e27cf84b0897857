// The pacing of frames against displays made of a fake clock: how often they refresh,
// whether the driver offers swap control and takes a swap interval, how long a frame draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/headless.h"
#include "app/pace.h"
#include "support.h"

namespace {

const int64_t MS = 1000000;
const int64_t START_NS = 5 * SECOND_NS;   // the monotonic clock is never near zero

struct display_t {
    double  refresh_hz;        // 0: swaps wait for nothing
    bool    swap_control;      // the driver lets the game ask for an interval
    bool    takes_intervals;   // ... and honours one above 1
    int64_t draw_ns;           // each frame, from its start to its swap
    int     slow_frames;       // the first frames draw for slow_draw_ns instead
    int64_t slow_draw_ns;
    int     pause_at;   // this frame sleeps a level change's pause first, when not 0
};
const int MENU_FRAMES = 90;   // the menu: long enough to measure the display twice

struct paced_run_t {
    std::vector<int64_t> shown;   // when each frame's swap reached the screen
    int                  sleeps_after_menu = 0;
    int                  interval = 0;   // the swap interval in force at the end
};

// Frames as the window runs them: draw, swap (on a refresh when the swaps wait), then the step.
paced_run_t run_paced(const display_t& d, int frames) {
    pace_start(false, d.swap_control);
    paced_run_t run;
    run.interval = d.swap_control ? 1 : 0;
    double  refresh_ns = d.refresh_hz > 0 ? SECOND_NS / d.refresh_hz : 0;
    double  last_tick = -1e18;
    int64_t t = START_NS;
    for (int i = 0; i < frames; i++) {
        if (i == d.pause_at && i > 0)
            t += 2500 * MS;
        t += i < d.slow_frames ? d.slow_draw_ns : d.draw_ns;
        if (d.swap_control && refresh_ns > 0) {
            double tick = std::ceil(t / refresh_ns) * refresh_ns;
            while (tick < last_tick + run.interval * refresh_ns - 1)
                tick += refresh_ns;
            last_tick = tick;
            t = (int64_t)tick;
        }
        run.shown.push_back(t);
        pace_step_t step = pace_frame_ended(t);
        if (step.swap_interval == 1 || (step.swap_interval > 1 && d.takes_intervals))
            run.interval = step.swap_interval;
        if (step.wake_ns > t) {
            t = step.wake_ns;
            run.sleeps_after_menu += i >= MENU_FRAMES;
        }
    }
    return run;
}

// Frames shown a second over the last ten seconds of a run.
double last_ten_seconds_rate(const paced_run_t& run) {
    int64_t end = run.shown.back();
    long    n = std::count_if(run.shown.begin(), run.shown.end(), [&](int64_t s) { return s > end - 10 * SECOND_NS; });
    return (n - 1) / 10.0;
}

// The refreshes each frame after the menu stayed on the screen, fewest and most.
void refreshes_per_frame(const paced_run_t& run, double refresh_hz, int* fewest, int* most) {
    *fewest = 1000;
    *most = 0;
    for (size_t i = MENU_FRAMES + 1; i < run.shown.size(); i++) {
        int n = (int)std::lround((run.shown[i] - run.shown[i - 1]) * refresh_hz / SECOND_NS);
        *fewest = std::min(*fewest, n);
        *most = std::max(*most, n);
    }
}

struct pace_case_t {
    const char* name;
    display_t   display;
    pace_mode_t mode;       // after the menu
    int         interval;   // the swap interval then
    bool        sleeps;     // whether the game sleeps of its own
    double      rate;       // frames a second over the last ten seconds
    int         fewest;     // refreshes a frame stays on the screen, fewest and most
    int         most;
};

const int64_t FAST_DRAW = 4 * MS;   // the fast drawing under a software renderer

const pace_case_t pace_cases[] = {
    // the swaps' waits alone keep 60: a sleep could only make a frame miss its refresh
    {"60 Hz", {60, true, true, FAST_DRAW, 0, 0, 0}, PACE_DISPLAY, 1, false, 60, 1, 1},
    {"59.94 Hz", {59.94, true, true, FAST_DRAW, 0, 0, 0}, PACE_DISPLAY, 1, false, 59.94, 1, 1},
    // the first menu frames build pictures and miss refreshes; the median is still the display's
    {"60 Hz, slow first frames", {60, true, true, FAST_DRAW, 8, 30 * MS, 0}, PACE_DISPLAY, 1, false, 60, 1, 1},
    // every second, third or fourth refresh
    {"120 Hz", {120, true, true, FAST_DRAW, 0, 0, 0}, PACE_DISPLAY, 2, false, 60, 2, 2},
    {"180 Hz", {180, true, true, FAST_DRAW, 0, 0, 0}, PACE_DISPLAY, 3, false, 60, 3, 3},
    {"240 Hz", {240, true, true, FAST_DRAW, 0, 0, 0}, PACE_DISPLAY, 4, false, 60, 4, 4},
    // a driver that ignores the interval asked for: measured again, then a sleep paces
    {"120 Hz, interval ignored", {120, true, false, FAST_DRAW, 0, 0, 0}, PACE_SLEEP, 1, true, 60, 2, 2},
    // no multiple of 60: each frame shows on the first refresh after its time
    {"144 Hz", {144, true, true, FAST_DRAW, 0, 0, 0}, PACE_SLEEP, 1, true, 60, 2, 3},
    {"75 Hz", {75, true, true, FAST_DRAW, 0, 0, 0}, PACE_SLEEP, 1, true, 60, 1, 2},
    {"165 Hz", {165, true, true, FAST_DRAW, 0, 0, 0}, PACE_SLEEP, 1, true, 60, 2, 3},
    // swaps that wait for nothing: a virtual display, a remote one, no swap control
    {"no swap control", {0, false, false, FAST_DRAW, 0, 0, 0}, PACE_SLEEP, 0, true, 60, 0, 0},
    {"swap control that waits for nothing", {0, true, true, FAST_DRAW, 0, 0, 0}, PACE_SLEEP, 1, true, 60, 0, 0},
    // a menu that happened to draw in a sixtieth of a second looks like a 60 Hz display
    // until play draws faster: then a sleep takes over
    {"no wait, menu as slow as 60 Hz",
     {0, true, true, FAST_DRAW, MENU_FRAMES, SECOND_NS / 60, 0},
     PACE_SLEEP,
     1,
     true,
     60,
     0,
     0},
    // below 60 a second the game runs slower, as designed, and never sleeps
    {"slow machine", {0, false, false, 20 * MS, 0, 0, 0}, PACE_SLEEP, 0, false, 50, 0, 0},
    {"slow machine, 144 Hz", {144, true, true, 20 * MS, 0, 0, 0}, PACE_SLEEP, 1, false, 48, 3, 3},
    // a level change's pause: the frames after it keep the pace, with no burst to catch up
    {"pause, no swap control", {0, false, false, FAST_DRAW, 0, 0, 400}, PACE_SLEEP, 0, true, 60, 0, 0},
    {"pause, 144 Hz", {144, true, true, FAST_DRAW, 0, 0, 400}, PACE_SLEEP, 1, true, 60, 2, 3},
    {"pause, 60 Hz", {60, true, true, FAST_DRAW, 0, 0, 400}, PACE_DISPLAY, 1, false, 60, 1, 1},
};

}   // namespace

TEST(Pace, DisplaysOfEveryKindShowSixtyFramesASecond) {
    for (const pace_case_t& c : pace_cases) {
        SCOPED_TRACE(c.name);
        paced_run_t run = run_paced(c.display, 1500);
        EXPECT_EQ(frame_pace.mode, c.mode);
        EXPECT_EQ(run.interval, c.interval);
        EXPECT_EQ(run.sleeps_after_menu > 0, c.sleeps);
        EXPECT_NEAR(last_ten_seconds_rate(run), c.rate, 0.15);
        if (c.display.refresh_hz > 0 && c.display.pause_at == 0) {
            int fewest, most;
            refreshes_per_frame(run, c.display.refresh_hz, &fewest, &most);
            EXPECT_EQ(fewest, c.fewest);
            EXPECT_EQ(most, c.most);
        }
    }
}

TEST(Pace, APauseStartsTheScheduleAgainInsteadOfRacing) {
    paced_run_t run = run_paced({0, false, false, FAST_DRAW, 0, 0, 400}, 600);
    EXPECT_GT(run.shown[400] - run.shown[399], 2500 * MS);
    // the frame after the pause starts at once; from then on none comes sooner than a
    // sixtieth of a second, where catching up would race through the 150 frames missed
    for (int i = 402; i < 600; i++)
        EXPECT_GE(run.shown[i] - run.shown[i - 1], SECOND_NS / 60 - 1) << "frame " << i;
}

TEST(Pace, SlightlyLateFramesCatchUpWithTheSchedule) {
    // frame n of the schedule is due n sixtieths of a second after its start
    auto due = [](int64_t start, int n) { return start + n * SECOND_NS / 60; };
    pace_start(false, false);
    EXPECT_EQ(pace_frame_ended(START_NS).wake_ns, 0);
    EXPECT_EQ(pace_frame_ended(START_NS + 4 * MS).wake_ns, due(START_NS, 1));
    // a third of a frame late: the next is due on time all the same
    EXPECT_EQ(pace_frame_ended(due(START_NS, 1) + SECOND_NS / 180 + 4 * MS).wake_ns, due(START_NS, 2));
    EXPECT_EQ(pace_frame_ended(due(START_NS, 2) + 4 * MS).wake_ns, due(START_NS, 3));
    // up to the late limit behind: no sleep until the schedule is caught up with
    const int64_t limit = PACE_LATE_FRAMES * SECOND_NS / 60;
    EXPECT_EQ(pace_frame_ended(due(START_NS, 4) + limit - MS).wake_ns, 0);
    EXPECT_EQ(pace_frame_ended(due(START_NS, 5) + 4 * MS).wake_ns, 0);
    EXPECT_EQ(pace_frame_ended(due(START_NS, 6) - 10 * MS).wake_ns, due(START_NS, 6));
    // beyond it: the schedule starts again from now
    int64_t very_late = due(START_NS, 7) + limit + MS;
    EXPECT_EQ(pace_frame_ended(very_late).wake_ns, 0);
    EXPECT_EQ(pace_frame_ended(very_late + 4 * MS).wake_ns, due(very_late, 1));
}

TEST(Pace, FreeFramesNeverWaitNorChangeTheInterval) {
    for (bool swap_control : {false, true}) {
        pace_start(true, swap_control);
        for (int i = 0; i < 200; i++) {
            pace_step_t step = pace_frame_ended(START_NS + i * FAST_DRAW);
            EXPECT_EQ(step.wake_ns, 0);
            EXPECT_EQ(step.swap_interval, 0);
        }
        EXPECT_EQ(frame_pace.mode, PACE_FREE);
    }
}

TEST(Pace, TheWindowFreeRunnerNeverPaces) {
    std::string bin = make_play_folder({plain_level()});
    pace_start(false, false);
    ASSERT_TRUE(sim_open(bin.c_str()));
    ASSERT_TRUE(sim_start_play());
    for (int i = 0; i < 100; i++)
        sim_frame(0);
    sim_close();
    EXPECT_EQ(frame_pace.frames_ended, 0);
}
