#include "app/pace.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/devices.h"
#include "platform/platform.h"
#include "render/render.h"

frame_pace_t frame_pace;

inline constexpr int64_t FRAME_NS = SECOND_NS / PACE_RATE;

void pace_start(bool run_free, bool swap_control) {
    frame_pace = frame_pace_t{};
    frame_pace.swap_interval = swap_control ? 1 : 0;
    frame_pace.mode = run_free ? PACE_FREE : swap_control ? PACE_LEARNING : PACE_SLEEP;
    frame_pace.since_anchor = -1;
}

// The next frame starts now and the ones after it each a sixtieth of a second later.
static pace_step_t restart_schedule(int64_t now) {
    frame_pace.anchor_ns = now;
    frame_pace.since_anchor = 0;
    return {0, 0};
}

// Frame n of the schedule is due n sixtieths of a second after its start, with no error that adds up.
static pace_step_t sleep_to_due(int64_t now) {
    if (frame_pace.since_anchor < 0)
        return restart_schedule(now);
    frame_pace.since_anchor++;
    int64_t due = frame_pace.anchor_ns + frame_pace.since_anchor * SECOND_NS / PACE_RATE;
    // a level change's pause or a slow stretch: racing to catch up would show a burst of speed
    if (now - due > PACE_LATE_FRAMES * FRAME_NS) {
        frame_pace.missed_ns += now - due;
        return restart_schedule(now);
    }
    return {now < due ? due : 0, 0};
}

// The display cannot hold frames to 60 a second: swaps wait for one refresh and a sleep paces them.
static pace_step_t sleep_from_now_on(int64_t now) {
    int was = frame_pace.swap_interval;
    frame_pace.mode = PACE_SLEEP;
    frame_pace.swap_interval = was > 1 ? 1 : was;
    restart_schedule(now);
    return {0, was > 1 ? 1 : 0};
}

// A rate within the tolerance of n times 60 a second: n; else 0.
static int multiple_of_pace(double rate) {
    long n = std::lround(rate / PACE_RATE);
    return n >= 1 && std::fabs(rate - (double)n * PACE_RATE) <= PACE_TOLERANCE * (double)n * PACE_RATE ? (int)n : 0;
}

// The median swap-to-swap time: frames that built pictures or missed a refresh do not count.
static double median_swap_rate() {
    int64_t sorted[PACE_LEARN_SWAPS];
    std::copy(frame_pace.swap_ns, frame_pace.swap_ns + PACE_LEARN_SWAPS, sorted);
    std::nth_element(sorted, sorted + PACE_LEARN_SWAPS / 2, sorted + PACE_LEARN_SWAPS);
    int64_t middle = sorted[PACE_LEARN_SWAPS / 2];
    return middle > 0 ? (double)SECOND_NS / (double)middle : HUGE_VAL;
}

static pace_step_t learn_display(int64_t now) {
    if (frame_pace.frames_ended > 0)
        frame_pace.swap_ns[frame_pace.measured++] = now - frame_pace.last_end_ns;
    if (frame_pace.measured < PACE_LEARN_SWAPS)
        return {0, 0};
    frame_pace.measured = 0;
    frame_pace.swap_rate = median_swap_rate();
    int n = multiple_of_pace(frame_pace.swap_rate);
    if (n == 1) {
        frame_pace.mode = PACE_DISPLAY;
        return restart_schedule(now);
    }
    // a faster display shows every nth refresh; measured again, as a driver may ignore the request
    if (n <= PACE_MAX_INTERVAL && frame_pace.swap_interval == 1 && n > 1) {
        frame_pace.swap_interval = n;
        return {0, n};
    }
    return sleep_from_now_on(now);
}

// A display followed for its refresh never brings frames faster than 60 a second; if
// it does, its swaps stopped waiting (or never did and the first frames took as long).
static pace_step_t watch_display(int64_t now) {
    if (++frame_pace.since_anchor < PACE_WATCH_FRAMES)
        return {0, 0};
    double rate = (double)PACE_WATCH_FRAMES * SECOND_NS / (double)std::max<int64_t>(now - frame_pace.anchor_ns, 1);
    restart_schedule(now);
    if (rate <= PACE_RATE * PACE_TOO_FAST)
        return {0, 0};
    frame_pace.swap_rate = rate;
    return sleep_from_now_on(now);
}

pace_step_t pace_frame_ended(int64_t now) {
    pace_step_t step = {0, 0};
    switch (frame_pace.mode) {
    case PACE_FREE: break;
    case PACE_LEARNING: step = learn_display(now); break;
    case PACE_DISPLAY: step = watch_display(now); break;
    case PACE_SLEEP: step = sleep_to_due(now); break;
    }
    frame_pace.last_end_ns = now;
    frame_pace.frames_ended++;
    return step;
}

// --- in the window ------------------------------------------------------------

static const char* const mode_names[] = {
    "free",
    "measuring the display",
    "held by the display's refresh",
    "held by a sleep to each frame's time",
};

static void report_mode() {
    fprintf(stderr, "frame pace: %s (swaps measured at %.1f a second, swap interval %d)\n", mode_names[frame_pace.mode],
            frame_pace.swap_rate, frame_pace.swap_interval);
}

void pace_window_start() {
    const char* pace = platform_setting("QUOVIX_FRAME_PACE");
    bool        run_free = pace && strcmp(pace, "free") == 0;
    if (pace && *pace && !run_free)
        fprintf(stderr, "QUOVIX_FRAME_PACE=%s is not known (\"free\" is): frames are held to %d a second\n", pace,
                PACE_RATE);
    // swaps wait for the display's refresh where the driver offers that, as they always did
    pace_start(run_free, render_set_swap_interval(1));
    frame_pace.report = platform_setting_on("QUOVIX_FRAME_REPORT");
    if (frame_pace.report)
        report_mode();
}

// Frames since the first one ended, once a second, for whoever measures the rate from outside.
static void report_frames(int64_t now, pace_mode_t was, int was_interval) {
    if (frame_pace.mode != was || frame_pace.swap_interval != was_interval)
        report_mode();
    if (frame_pace.frames_ended == 1) {
        frame_pace.report_start_ns = now;
        frame_pace.next_report_ns = now + SECOND_NS;
    }
    if (now < frame_pace.next_report_ns)
        return;
    // the frames a busy machine could not make in time, so a measured rate can tell it from the pacing
    fprintf(stderr, "frames: %" PRId64 " in %" PRId64 " ms, %" PRId64 " missed\n", frame_pace.frames_ended - 1,
            (now - frame_pace.report_start_ns) / 1000000, frame_pace.missed_ns / FRAME_NS);
    frame_pace.next_report_ns = now + SECOND_NS;
}

void pace_held_frame() {
    if (frame_pace.report && !frame_pace.holding)
        fprintf(stderr, "frame pace: frames held for the level change\n");
    frame_pace.holding = true;
    platform_sleep_ms(FRAME_MS);
}

void pace_window_frame() {
    frame_pace.holding = false;
    int64_t     now = platform_now_ns();
    pace_mode_t was = frame_pace.mode;
    int         was_interval = frame_pace.swap_interval;
    pace_step_t step = pace_frame_ended(now);
    if (frame_pace.report)
        report_frames(now, was, was_interval);
    if (step.swap_interval)
        render_set_swap_interval(step.swap_interval);
    if (step.wake_ns)
        platform_sleep_until_ns(step.wake_ns);
}
