// Frames held to 60 a second, the rate every per-frame amount of motion is made
// for: by the display's refresh where it comes 60 (or a multiple) a second, else
// by a sleep to each frame's due time on the monotonic clock.
#pragma once
#include <cstdint>

inline constexpr int     PACE_RATE = 60;   // frames a second the motion is made for: the one tick of the game
inline constexpr int64_t SECOND_NS = 1000000000;
inline constexpr int     PACE_LEARN_SWAPS = 30;    // swap-to-swap times measured to know the display
inline constexpr double  PACE_TOLERANCE = 0.03;    // a measured rate this near a multiple of 60 is that multiple
inline constexpr int     PACE_MAX_INTERVAL = 4;    // the fastest display followed by its swap interval: 240 Hz
inline constexpr int     PACE_LATE_FRAMES = 2;     // a frame later than this starts the schedule again
inline constexpr int     PACE_WATCH_FRAMES = 30;   // frames over which a followed display is checked
inline constexpr double  PACE_TOO_FAST = 1.05;     // faster than this many times 60: the swaps do not wait

enum pace_mode_t {
    PACE_FREE,       // frames as fast as they are drawn: the benchmark, the long tests
    PACE_LEARNING,   // each swap waits for the display: how often it refreshes is being measured
    PACE_DISPLAY,    // the swaps' waits hold frames to 60 a second: no sleep of the game's own
    PACE_SLEEP,      // a sleep to each frame's due time holds them there
};

struct frame_pace_t {
    pace_mode_t mode;
    int         swap_interval;   // refreshes each swap waits for; 0 where the driver offers no control
    int64_t     last_end_ns;     // when the previous frame ended; 0 before the first
    int         measured;        // swap-to-swap times in swap_ns
    int64_t     swap_ns[PACE_LEARN_SWAPS];
    double      swap_rate;         // swaps a second as last measured; 0 before
    int64_t     anchor_ns;         // sleeping: when frame 0 of the schedule was due; following: the watch's start
    int64_t     since_anchor;      // frames since then
    bool        report;            // a line on standard error each second with the frames so far
    int64_t     report_start_ns;   // the end of the first frame
    int64_t     next_report_ns;
    int64_t     frames_ended;   // since the first
    bool        holding;        // the last frame was held by the level change
    int64_t     missed_ns;      // sleeping: time past frames' due times given up when the schedule restarted
};
extern frame_pace_t frame_pace;

// What to do between the frame that ended and the next one.
struct pace_step_t {
    int64_t wake_ns;         // sleep until this time on the monotonic clock; 0 to go on at once
    int     swap_interval;   // ask the driver for this swap interval first; 0 to leave it
};

// Starts afresh: run_free for frames as fast as they come; swap_control when each
// swap now waits for one refresh.
void pace_start(bool run_free, bool swap_control);
// The frame that ended at now_ns (monotonic): what to do before the next.
pace_step_t pace_frame_ended(int64_t now_ns);

// A frame held by the level change drew nothing: it waits a frame's time, as a drawn one would.
void pace_held_frame();
// The window's side: reads QUOVIX_FRAME_PACE and QUOVIX_FRAME_REPORT, asks for
// swaps that follow the display, and starts the pacing.
void pace_window_start();
// After each frame in the window: the time, the step taken, the report.
void pace_window_frame();
