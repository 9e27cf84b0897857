// Preloaded under X into the game (this commit's or the baseline's) or the
// floor program: stamps every buffer swap and the first Enter, reads the
// process's memory at the moments that matter, and plays replays by feeding
// the game's own key callbacks between frames, so a level is flown frame for
// frame as recorded.
//
// A level ends where the program itself pauses. The game hands each frame's
// events to quovix_frame_events; after a level-finished event, the first swap
// after the pause between levels (QBENCH_PAUSE_MS or more of frames the game
// said it held through quovix_frame_held, or, in an older game, of display
// callbacks that swapped nothing) ends the level. A program that reports no
// events (an older commit's game, the floor program) sleeps its pause inside a
// frame, caught as it is asked for. Either
// way a slow frame on a busy machine is only ever a slow frame. The change's
// own cost is its interval without the main thread's sleeps and the wait.
//
// Environment: QBENCH_LOG (log file, required), QBENCH_T0 (launch time in ns
// of CLOCK_MONOTONIC, from quovix-bench-launch), QBENCH_MODE (game or floor),
// QBENCH_REPLAYS (replay files joined by ':', one a level), QBENCH_LEVELS
// (levels to play before Esc is pressed, default 5), QBENCH_PAUSE_MS (a held
// wait or a sleep this long or longer is the pause between levels, default
// 250), QBENCH_FRAMES (Esc after this many frames of a level, for a sample of
// a long level).
#include <GL/freeglut.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <pthread.h>
#include <string>
#include <vector>

#include "assets/replay_text.h"
#include "game/events.h"

typedef void (*key_fn)(unsigned char, int, int);

static FILE*     log_file;
static long long t0_ns;
static bool      floor_mode;
static int       levels_to_play = 5;
static long long pause_ns = 250000000LL;
static long      frames_to_play;   // 0: the whole level

static key_fn game_key_down;
static key_fn game_key_up;

static long long enter_ns;   // 0 until Enter is first pressed
static long long prev_swap_ns;
static long      swaps;
static bool      playing;
static int       level;            // 1-based while playing
static long      frame_in_level;   // 0 is the frame that started the level
static bool      esc_sent;
static pthread_t main_thread;   // the frames' thread: another thread's sleep is no part of a frame
static bool      paused;        // this frame slept the pause between levels
static long long slept_ns;      // how long the frame's sleeps took before any hold, the pause's included

static bool      reports_events;   // the game calls quovix_frame_events after every display callback
static bool      level_finished;   // a level-finished event whose change has not swapped yet
static long      swaps_at_last_report = -1;
static long long held_since_ns;   // the first display callback since the last swap that swapped nothing; 0 if none
static long long hold_end_ns;     // the end of the last sleep since then
// A game that draws the frames of its level change says so before each swaps (quovix_frame_held).
static bool      frame_held;          // the frame now swapping is one of them
static long long hold_began_ns;       // the swap before the first of them; 0 outside a change
static long long last_held_swap_ns;   // the swap of the last of them

static const int max_levels = 5;
// Level n's replay; made on first use, since shim_open runs before this file's statics are made.
static std::vector<buttons_t>& replay(int n) {
    static std::vector<buttons_t> replays[max_levels];
    return replays[n];
}
static buttons_t held_now;   // the keys sent to the game
static buttons_t keys_due;   // the keys to send after this display callback
static bool      esc_due;

static long long now_ns() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// VmRSS and VmHWM in kB.
static void memory_kb(long* rss, long* hwm) {
    *rss = *hwm = -1;
    FILE* f = fopen("/proc/self/status", "r");
    if (!f)
        return;
    char line[256];
    while (fgets(line, sizeof(line), f)) {
        if (strncmp(line, "VmRSS:", 6) == 0)
            *rss = atol(line + 6);
        else if (strncmp(line, "VmHWM:", 6) == 0)
            *hwm = atol(line + 6);
    }
    fclose(f);
}

static void log_memory(const char* what, int n) {
    long rss, hwm;
    memory_kb(&rss, &hwm);
    fprintf(log_file, "mem %s %d %ld %ld\n", what, n, rss, hwm);
    fflush(log_file);
}

// One replay file, read as the tools read it; one that cannot be is named and not played.
static void read_replay(const char* path, int n) {
    std::string text, why = "cannot read the file";
    if (FILE* f = fopen(path, "rb")) {
        char   chunk[65536];
        size_t got;
        while (text.size() <= replay_file_max_bytes && (got = fread(chunk, 1, sizeof(chunk), f)) > 0)
            text.append(chunk, got);
        if (!ferror(f))
            why = text.size() > replay_file_max_bytes ? "is larger than the largest replay" : "";
        fclose(f);
    }
    if (!why.empty() || !replay_from_text(text, &replay(n), &why)) {
        fprintf(stderr, "qbench: %s: %s\n", path, why.c_str());
        replay(n).clear();
    }
}

__attribute__((constructor)) static void shim_open() {
    const char* path = getenv("QBENCH_LOG");
    if (!path)
        return;
    log_file = fopen(path, "w");
    if (!log_file)
        return;
    setvbuf(log_file, nullptr, _IOFBF, 1 << 16);
    const char* t0 = getenv("QBENCH_T0");
    t0_ns = t0 ? atoll(t0) : now_ns();
    main_thread = pthread_self();
    const char* mode = getenv("QBENCH_MODE");
    floor_mode = mode && strcmp(mode, "floor") == 0;
    if (const char* l = getenv("QBENCH_LEVELS"))
        levels_to_play = atoi(l);
    if (const char* n = getenv("QBENCH_FRAMES"))
        frames_to_play = atol(n);
    if (const char* g = getenv("QBENCH_PAUSE_MS"))
        pause_ns = atoll(g) * 1000000LL;
    if (const char* r = getenv("QBENCH_REPLAYS")) {
        char* list = strdup(r);
        int   n = 0;
        char* save = nullptr;
        for (char* p = strtok_r(list, ":", &save); p && n < max_levels; p = strtok_r(nullptr, ":", &save))
            read_replay(p, n++);
        free(list);
    }
    fprintf(log_file, "start %s\n", floor_mode ? "floor" : "game");
}

__attribute__((destructor)) static void shim_close() {
    if (!log_file)
        return;
    log_memory("exit", level);
    fprintf(log_file, "end\n");
    fclose(log_file);
    log_file = nullptr;
}

// The replay's keys are sent after the display callback that swapped, between two
// callbacks as the window system's would be: the game ends its frame after the swap.
static void send_keys() {
    static const struct {
        button_t      button;
        unsigned char key;
    } keys[3] = {{BUTTON_LEFT, 'a'}, {BUTTON_RIGHT, 'd'}, {BUTTON_JUMP, ' '}};
    for (const auto& k : keys) {
        bool want = (keys_due & button_bit(k.button)) != 0, have = (held_now & button_bit(k.button)) != 0;
        if (want && !have && game_key_down)
            game_key_down(k.key, 0, 0);
        if (!want && have && game_key_up)
            game_key_up(k.key, 0, 0);
    }
    held_now = keys_due;
    if (esc_due && game_key_down)
        game_key_down(27, 0, 0);
    esc_due = false;
}

static void feed(buttons_t held) { keys_due = held; }

static void press_esc() {
    if (esc_sent)
        return;
    feed(0);
    esc_due = esc_sent = true;
}

static void start_level(int n) {
    level = n;
    frame_in_level = 0;
}

extern "C" void glutSwapBuffers(void) {
    static void (*real)(void) = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    real();
    if (!log_file)
        return;
    long long now = now_ns();
    long long interval = swaps ? now - prev_swap_ns : 0;
    if (frame_held) {
        // a frame of the wait: no frame of the level, and no keys to change
        frame_held = false;
        if (!hold_began_ns)
            hold_began_ns = prev_swap_ns;
        last_held_swap_ns = prev_swap_ns = now;
        swaps++;
        slept_ns = 0;
        return;
    }
    prev_swap_ns = now;
    swaps++;
    long long wait = held_since_ns && hold_end_ns > held_since_ns ? hold_end_ns - held_since_ns : 0;
    long long slept = slept_ns + wait;
    bool      level_ended = reports_events ? level_finished && wait >= pause_ns : paused;
    if (hold_began_ns) {
        // the first frame after the drawn wait: the change's interval runs from the wait's start, and
        // its own cost is what followed the last held frame but its sleeps
        level_ended = level_finished && last_held_swap_ns - hold_began_ns >= pause_ns;
        slept = (last_held_swap_ns - hold_began_ns) + slept_ns;
        interval = now - hold_began_ns;
        hold_began_ns = 0;
    }
    if (level_ended)
        level_finished = false;
    paused = false;
    slept_ns = 0;
    held_since_ns = hold_end_ns = 0;
    if (swaps == 1) {
        fprintf(log_file, "menu %.3f\n", (now - t0_ns) / 1e6);
        log_memory("menu", 0);
        if (floor_mode) {
            playing = true;
            start_level(1);
            return;
        }
    }
    if (!playing) {
        if (enter_ns) {
            // the frame that ran the start of play is the first frame of play
            fprintf(log_file, "play %.3f %.3f\n", (now - enter_ns) / 1e6, interval / 1e6);
            log_memory("play", 1);
            playing = true;
            start_level(1);
            feed(replay(0).empty() ? 0 : replay(0)[0]);
        }
        return;
    }
    if (esc_sent)
        return;
    if (level_ended) {
        // the change's own cost: the interval without its sleeps and its held wait
        fprintf(log_file, "change %d %.3f %.3f\n", level, interval / 1e6, (interval - slept) / 1e6);
        log_memory("after", level);
        if (!floor_mode && level >= levels_to_play) {
            press_esc();
            return;
        }
        start_level(level + 1);
    } else {
        frame_in_level++;
        fprintf(log_file, "f %d %ld %lld\n", level, frame_in_level, interval / 1000);
        if (!floor_mode && frames_to_play && frame_in_level >= frames_to_play) {
            press_esc();
            return;
        }
    }
    if (!floor_mode && level <= max_levels) {
        const std::vector<buttons_t>& r = replay(level - 1);
        size_t                        i = (size_t)frame_in_level;   // frame 0 ran the start; replay frame i runs next
        feed(i < r.size() ? r[i] : 0);
    }
}

// Called by the game after every display callback with that frame's events, one bit a game_event_t.
extern "C" void quovix_frame_events(uint32_t events) {
    if (!log_file)
        return;
    reports_events = true;
    if (events & (1u << EV_LEVEL_FINISHED))
        level_finished = true;
    // a fall's frames are those before the life it cost
    if (playing && (events & (1u << EV_LIFE_LOST)))
        fprintf(log_file, "lost %d %ld\n", level, frame_in_level);
    // a callback that swapped nothing held the frame: the wait runs from the first such callback
    if (swaps == swaps_at_last_report && !held_since_ns)
        held_since_ns = now_ns();
    swaps_at_last_report = swaps;
}

// Called by the game before it swaps a frame its level change holds.
extern "C" void quovix_frame_held(void) {
    if (log_file)
        frame_held = true;
}

// Every sleep of the program passes here. On the frames' thread, one asked for as long as the pause marks
// the level's end in a program that reports no events; once the frame is held, every sleep and what runs
// between them is the wait.
static void sleep_asked(long long asked_ns, long long start_ns, long long end_ns) {
    if (!pthread_equal(pthread_self(), main_thread))
        return;
    if (asked_ns >= pause_ns)
        paused = true;
    if (held_since_ns)
        hold_end_ns = end_ns;
    else
        slept_ns += end_ns - start_ns;
}

extern "C" int nanosleep(const timespec* asked, timespec* left) {
    static int (*real)(const timespec*, timespec*) = (int (*)(const timespec*, timespec*))dlsym(RTLD_NEXT, "nanosleep");
    long long start = now_ns();
    int       result = real(asked, left);
    if (log_file && asked)
        sleep_asked((long long)asked->tv_sec * 1000000000LL + asked->tv_nsec, start, now_ns());
    return result;
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* asked, timespec* left) {
    static int (*real)(clockid_t, int, const timespec*, timespec*) =
        (int (*)(clockid_t, int, const timespec*, timespec*))dlsym(RTLD_NEXT, "clock_nanosleep");
    long long start = now_ns();
    int       result = real(clock, flags, asked, left);
    if (log_file && asked) {
        long long until = (long long)asked->tv_sec * 1000000000LL + asked->tv_nsec;
        // an absolute deadline on the monotonic clock is asked from now; others are durations
        bool absolute = (flags & TIMER_ABSTIME) != 0;
        sleep_asked(absolute && clock == CLOCK_MONOTONIC ? until - start : absolute ? 0 : until, start, now_ns());
    }
    return result;
}

static void (*game_display)(void);

static void display_then_keys() {
    game_display();
    send_keys();
}

extern "C" void glutDisplayFunc(void (*fn)(void)) {
    static void (*real)(void (*)(void)) = (void (*)(void (*)(void)))dlsym(RTLD_NEXT, "glutDisplayFunc");
    game_display = fn;
    real(fn && log_file ? display_then_keys : fn);
}

static void key_down_stamped(unsigned char key, int x, int y) {
    if (key == 13 && !enter_ns && log_file) {
        enter_ns = now_ns();
        fprintf(log_file, "enter %.3f\n", (enter_ns - t0_ns) / 1e6);
        fflush(log_file);   // the script waits for this line before it presses Enter again
    }
    if (game_key_down)
        game_key_down(key, x, y);
}

extern "C" void glutKeyboardFunc(key_fn fn) {
    static void (*real)(key_fn) = (void (*)(key_fn))dlsym(RTLD_NEXT, "glutKeyboardFunc");
    game_key_down = fn;
    real(fn ? key_down_stamped : nullptr);
}

extern "C" void glutKeyboardUpFunc(key_fn fn) {
    static void (*real)(key_fn) = (void (*)(key_fn))dlsym(RTLD_NEXT, "glutKeyboardUpFunc");
    game_key_up = fn;
    real(fn);
}
