#include "e2e_support.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "support.h"

void sleep_ms(int ms) {
    timespec ts = {ms / 1000, (long)(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

static double now_s() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

bool have_display() {
    const char* d = getenv("DISPLAY");
    return d && *d;
}

// Xvfb now and then resets a connection made right after another client left:
// try again a few times before giving up on the display.
static Display* open_display() {
    for (int attempt = 0; attempt < 20; attempt++) {
        if (Display* dpy = XOpenDisplay(nullptr))
            return dpy;
        sleep_ms(50);
    }
    return nullptr;
}

// Key auto-repeat would deliver release/press pairs while a key is held.
// The connection stays open for the whole test run: a server that loses its
// last client resets, and a game starting meanwhile cannot open the display.
static void auto_repeat_off() {
    static Display* held = nullptr;
    if (held)
        return;
    held = open_display();
    if (held) {
        XAutoRepeatOff(held);
        XFlush(held);
    }
}

static std::string run_command(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof(buf), p))
            out += buf;
        pclose(p);
    }
    return out;
}

// An xdotool command, again when it could not reach the display.
static void run_xdotool(const std::string& args) {
    for (int attempt = 0; attempt < 10; attempt++) {
        if (system(("xdotool " + args + " 2>/dev/null").c_str()) == 0)
            return;
        sleep_ms(50);
    }
}

bool start_game(game_run* run, const std::string& bin_dir, const std::string& game) {
    auto_repeat_off();
    std::string program = game.empty() ? std::string(QUOVIX_BIN_DIR) + "/quovix" : game;
    run->bin_dir = bin_dir;
    run->program = program;
    run->out_path = temp_folder() + "/stdout.txt";
    run->err_path = run->out_path.substr(0, run->out_path.size() - 10) + "stderr.txt";
    pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (chdir(bin_dir.c_str()) != 0)
            _exit(126);
        int out = open(run->out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(run->err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        execl(program.c_str(), program.c_str(), (char*)nullptr);
        _exit(127);
    }
    run->pid = pid;
    run->exited = false;
    return true;
}

static bool poll_exit(game_run* run) {
    if (run->exited || run->pid <= 0)
        return true;
    int st = 0;
    if (waitpid(run->pid, &st, WNOHANG) == run->pid) {
        run->exited = true;
        run->status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    return run->exited;
}

bool wait_for_window(game_run* run, double seconds) {
    double end = now_s() + seconds;
    int restarts = 0;
    while (now_s() < end) {
        if (poll_exit(run)) {
            // a connection the display refused (see open_display): start the game again
            bool refused = read_text_file(run->err_path).find("failed to open display") != std::string::npos;
            if (!refused || restarts++ >= 3 || !start_game(run, run->bin_dir, run->program))
                return false;
            continue;
        }
        std::string id = run_command("xdotool search --name '^Quovix - by Orrib$' 2>/dev/null | head -n 1");
        if (!id.empty()) {
            run->window = strtoul(id.c_str(), nullptr, 10);
            // no window manager gives focus: take it once
            run_xdotool("windowfocus " + std::to_string(run->window));
            sleep_ms(700);
            return true;
        }
        sleep_ms(100);
    }
    return false;
}

bool wait_for_exit(game_run* run, double seconds) {
    double end = now_s() + seconds;
    while (now_s() < end) {
        if (poll_exit(run))
            return true;
        sleep_ms(50);
    }
    kill_game(run);
    return false;
}

void kill_game(game_run* run) {
    if (run->pid > 0 && !poll_exit(run)) {
        kill(run->pid, SIGKILL);
        int st;
        waitpid(run->pid, &st, 0);
        run->exited = true;
        run->status = -1;
    }
}

void key_down(const char* key) { run_xdotool(std::string("keydown ") + key); }
void key_up(const char* key) { run_xdotool(std::string("keyup ") + key); }

void press_key(const char* key, int hold_ms) {
    key_down(key);
    sleep_ms(hold_ms);
    key_up(key);
}

screen_shot take_screenshot() {
    screen_shot s;
    Display* dpy = open_display();
    if (!dpy)
        return s;
    Window root = DefaultRootWindow(dpy);
    XWindowAttributes attr;
    XGetWindowAttributes(dpy, root, &attr);
    XImage* img = XGetImage(dpy, root, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
    if (img) {
        s.width = attr.width;
        s.height = attr.height;
        s.rgb.resize((size_t)s.width * s.height * 3);
        for (int y = 0; y < s.height; y++) {
            for (int x = 0; x < s.width; x++) {
                unsigned long p = XGetPixel(img, x, y);
                uint8_t* d = &s.rgb[((size_t)y * s.width + x) * 3];
                d[0] = (uint8_t)((p & img->red_mask) >> 16);
                d[1] = (uint8_t)((p & img->green_mask) >> 8);
                d[2] = (uint8_t)(p & img->blue_mask);
            }
        }
        XDestroyImage(img);
    }
    XCloseDisplay(dpy);
    return s;
}

void mean_colour(const screen_shot& s, int x0, int y0, int x1, int y1, double rgb[3]) {
    double sum[3] = {0, 0, 0};
    long n = 0;
    for (int y = y0; y < y1 && y < s.height; y++)
        for (int x = x0; x < x1 && x < s.width; x++, n++)
            for (int c = 0; c < 3; c++)
                sum[c] += s.at(x, y)[c];
    for (int c = 0; c < 3; c++)
        rgb[c] = n ? sum[c] / n : 0;
}

double white_share(const screen_shot& s, int x0, int y0, int x1, int y1) {
    long white = 0, n = 0;
    for (int y = y0; y < y1 && y < s.height; y++) {
        for (int x = x0; x < x1 && x < s.width; x++, n++) {
            const uint8_t* p = s.at(x, y);
            if (p[0] > 200 && p[1] > 200 && p[2] > 200)
                white++;
        }
    }
    return n ? (double)white / n : 0;
}

bool save_png_ppm(const screen_shot& s, const std::string& path) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
    fwrite(s.rgb.data(), 1, s.rgb.size(), f);
    return fclose(f) == 0;
}

std::string game_output(const game_run& run) { return read_text_file(run.out_path); }

bool window_geometry(const game_run& run, int* x, int* y, int* w, int* h, int* screen_w, int* screen_h) {
    Display* dpy = open_display();
    if (!dpy)
        return false;
    XWindowAttributes attr;
    bool ok = XGetWindowAttributes(dpy, (Window)run.window, &attr) != 0;
    if (ok) {
        Window child;
        XTranslateCoordinates(dpy, (Window)run.window, DefaultRootWindow(dpy), 0, 0, x, y, &child);
        *w = attr.width;
        *h = attr.height;
        *screen_w = DisplayWidth(dpy, DefaultScreen(dpy));
        *screen_h = DisplayHeight(dpy, DefaultScreen(dpy));
    }
    XCloseDisplay(dpy);
    return ok;
}

std::string game_program() { return std::string(QUOVIX_BIN_DIR) + "/quovix"; }

static int count_lines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

bool wait_for_lines(const std::string& path, int lines, double seconds) {
    double end = now_s() + seconds;
    while (now_s() < end) {
        if (count_lines(read_text_file(path)) >= lines)
            return true;
        sleep_ms(100);
    }
    return false;
}

screen_shot read_screen_picture(const std::string& path, int width, int height) {
    screen_shot s;
    std::string bytes = read_text_file(path);
    if (width <= 0 || height <= 0 || bytes.size() < (size_t)width * height * 3)
        return s;
    s.width = width;
    s.height = height;
    s.rgb.resize((size_t)width * height * 3);
    for (int y = 0; y < height; y++) {
        // the file's first row is the bottom of the screen
        const uint8_t* src = (const uint8_t*)bytes.data() + (size_t)(height - 1 - y) * width * 3;
        uint8_t* dst = &s.rgb[(size_t)y * width * 3];
        for (int x = 0; x < width; x++) {
            dst[x * 3] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3];
        }
    }
    return s;
}

double block_difference(const screen_shot& a, const screen_shot& b, int x0, int y0, int x1, int y1, int block) {
    double sum = 0;
    int blocks = 0;
    for (int by = y0; by + block <= y1; by += block) {
        for (int bx = x0; bx + block <= x1; bx += block) {
            double ma[3], mb[3];
            mean_colour(a, bx, by, bx + block, by + block, ma);
            mean_colour(b, bx, by, bx + block, by + block, mb);
            sum += (fabs(ma[0] - mb[0]) + fabs(ma[1] - mb[1]) + fabs(ma[2] - mb[2])) / 3;
            blocks++;
        }
    }
    return blocks ? sum / blocks : 255;
}

screen_shot flipped_upside_down(const screen_shot& s) {
    screen_shot f = s;
    size_t row = (size_t)s.width * 3;
    for (int y = 0; y < s.height; y++)
        memcpy(&f.rgb[y * row], &s.rgb[(s.height - 1 - y) * row], row);
    return f;
}

long white_over_picture(const screen_shot& shot, const screen_shot& picture, int x0, int y0, int x1, int y1) {
    long n = 0;
    for (int y = y0; y < y1 && y < shot.height && y < picture.height; y++) {
        for (int x = x0; x < x1 && x < shot.width && x < picture.width; x++) {
            const uint8_t* p = shot.at(x, y);
            const uint8_t* q = picture.at(x, y);
            bool white = p[0] > 230 && p[1] > 230 && p[2] > 230;
            bool picture_bright = q[0] > 150 || q[1] > 150 || q[2] > 150;
            n += white && !picture_bright;
        }
    }
    return n;
}
