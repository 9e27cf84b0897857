#include "e2e_support.h"

// before Xlib, whose macros clash with names in gtest
#include "app/options.h"
#include "app/window.h"
#include "support.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

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

pid_t start_x_server(const char* screen, std::string* display) {
    int         fds[2];
    std::string said = temp_folder() + "/xvfb.err";   // the server's own lines, kept out of the test's
    if (pipe(fds) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        int err = open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(err, 2);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp", "-noreset",
               (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);
    // the server writes its number, then a newline, once it takes connections
    std::string number;
    char        c = 0;
    pollfd      p = {fds[0], POLLIN, 0};
    while (pid > 0 && c != '\n' && poll(&p, 1, 20000) > 0 && read(fds[0], &c, 1) == 1)
        number += c;
    close(fds[0]);
    if (c != '\n') {
        stop_x_server(pid);
        return -1;
    }
    *display = ":" + std::to_string(atoi(number.c_str()));
    return pid;
}

void stop_x_server(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

// Xvfb now and then resets a connection made right after another client left:
// try again a few times before giving up on the display.
Display* open_display() {
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
    if (!held && (held = open_display())) {
        XAutoRepeatOff(held);
        XFlush(held);
    }
}

// An xdotool command, again when it could not reach the display; what it printed.
static std::string run_xdotool(const std::string& args, int attempts = 10) {
    static const std::string errors = temp_folder() + "/xdotool.err";   // what it says of windows already gone
    std::string              out;
    for (int attempt = 0; attempt < attempts; attempt++, sleep_ms(50)) {
        FILE* p = popen(("xdotool " + args + " 2>" + errors).c_str(), "r");
        char  buf[256];
        while (p && fgets(buf, sizeof(buf), p))
            out += buf;
        if (p && pclose(p) == 0)
            break;
    }
    return out;
}

bool launch_game(game_run_t* run, const std::string& bin_dir) {
    auto_repeat_off();
    std::string program = run->program.empty() ? std::string(QUOVIX_BIN_DIR) + "/quovix" : run->program;
    std::string folder = temp_folder();
    run->bin_dir = bin_dir;
    run->out_path = folder + "/stdout.txt";
    run->err_path = folder + "/stderr.txt";
    pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        // a group of its own, so a kill reaches what a launcher started too
        setpgid(0, 0);
        if (chdir(bin_dir.c_str()) != 0)
            _exit(126);
        dup2(open(run->out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(run->err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        // frames as fast as they are drawn, so long games end sooner; run->env may ask for the pace
        setenv("QUOVIX_FRAME_PACE", "free", 1);
        for (const std::string& e : run->env) {
            size_t eq = e.find('=');
            if (eq + 1 == e.size())
                unsetenv(e.substr(0, eq).c_str());
            else
                setenv(e.substr(0, eq).c_str(), e.c_str() + eq + 1, 1);
        }
        std::vector<char*> argv = {(char*)program.c_str()};
        for (const std::string& a : run->args)
            argv.push_back((char*)a.c_str());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    // in both, so a kill that comes before the child runs still finds the group
    setpgid(pid, pid);
    run->pid = pid;
    run->exited = false;
    return true;
}

// The window's size the game is asked for: the screen's, or the one --window gives.
static void wanted_size(const game_run_t& run, int screen_w, int screen_h, int* w, int* h) {
    std::vector<std::string> args = run.args;
    std::vector<char*>       argv = {(char*)"quovix"};
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int       argc = (int)argv.size() - 1;
    options_t options;
    parse_options(&argc, argv.data(), &options);
    *w = options.window_width ? options.window_width : screen_w;
    *h = options.window_width ? options.window_height : screen_h;
}

static bool poll_exit(game_run_t* run) {
    int st = 0;
    if (!run->exited && run->pid > 0 && waitpid(run->pid, &st, WNOHANG) == run->pid) {
        run->exited = true;
        run->status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    return run->exited || run->pid <= 0;
}

bool wait_for_window(game_run_t* run, double seconds) {
    double end = now_s() + seconds;
    int    restarts = 0;
    while (now_s() < end) {
        if (poll_exit(run)) {
            // a connection the display refused (see open_display): start the game again
            bool refused = read_text_file(run->err_path).find("failed to open display") != std::string::npos;
            if (!refused || restarts++ >= 3 || !launch_game(run, run->bin_dir))
                return false;
            continue;
        }
        std::string id = run_xdotool(std::string("search --name '^") + WINDOW_TITLE + "$'", 1);
        if (!id.empty()) {
            run->window = strtoul(id.c_str(), nullptr, 10);
            // no window manager gives focus: take it once
            run_xdotool("windowfocus " + std::to_string(run->window));
            // start-up ends with the level's size line; the frames follow, full-screen
            for (; now_s() < end && !poll_exit(run); sleep_ms(50)) {
                int x, y, w, h, screen_w, screen_h, want_w, want_h;
                if (game_output(*run).find("Bitmap size:") == std::string::npos ||
                    !window_geometry(*run, &x, &y, &w, &h, &screen_w, &screen_h))
                    continue;
                wanted_size(*run, screen_w, screen_h, &want_w, &want_h);
                if (w == want_w && h == want_h)
                    return true;
            }
            return false;
        }
        sleep_ms(100);
    }
    return false;
}

bool wait_for_exit(game_run_t* run, double seconds) {
    for (double end = now_s() + seconds; now_s() < end; sleep_ms(50))
        if (poll_exit(run))
            return true;
    kill_game(run);
    return false;
}

void kill_game(game_run_t* run) {
    if (!poll_exit(run)) {
        if (kill(-run->pid, SIGKILL) != 0)
            kill(run->pid, SIGKILL);
        waitpid(run->pid, nullptr, 0);
        run->exited = true;
        run->status = -1;
    }
}

std::string game_output(const game_run_t& run) { return read_text_file(run.out_path); }

void press_key(const char* key) {
    run_xdotool(std::string("keydown ") + key);
    sleep_ms(400);
    run_xdotool(std::string("keyup ") + key);
}

void send_keys(const std::string& keys) { run_xdotool(keys); }

bool give_focus_to(unsigned long window) {
    Display* dpy = open_display();
    if (!dpy)
        return false;
    XSetInputFocus(dpy, window ? window : DefaultRootWindow(dpy), RevertToNone, CurrentTime);
    XCloseDisplay(dpy);
    return true;
}

bool wait_for_lines(const std::string& path, int lines, double seconds) {
    for (double end = now_s() + seconds; now_s() < end; sleep_ms(100)) {
        std::string text = read_text_file(path);
        if (std::count(text.begin(), text.end(), '\n') >= lines)
            return true;
    }
    return false;
}

// A replaced file is a new file: another inode or, where a freed one came back, a later time.
bool window_geometry(const game_run_t& run, int* x, int* y, int* w, int* h, int* screen_w, int* screen_h) {
    std::string win = run_xdotool("getwindowgeometry --shell " + std::to_string(run.window));
    std::string screen = run_xdotool("getdisplaygeometry");
    return sscanf(win.c_str(), "WINDOW=%*d\nX=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", x, y, w, h) == 4 &&
           sscanf(screen.c_str(), "%d %d", screen_w, screen_h) == 2;
}

screen_shot_t take_screenshot() {
    screen_shot_t s;
    Display*      dpy = open_display();
    if (!dpy)
        return s;
    XWindowAttributes attr;
    XGetWindowAttributes(dpy, DefaultRootWindow(dpy), &attr);
    if (XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), 0, 0, attr.width, attr.height, AllPlanes, ZPixmap)) {
        s.width = attr.width;
        s.height = attr.height;
        s.rgb.resize((size_t)s.width * s.height * 3);
        for (int y = 0; y < s.height; y++) {
            for (int x = 0; x < s.width; x++) {
                unsigned long p = XGetPixel(img, x, y);
                uint8_t*      d = &s.rgb[((size_t)y * s.width + x) * 3];
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

screen_shot_t wait_for_screen(const std::function<bool(const screen_shot_t&)>& shows, double seconds) {
    screen_shot_t shot = take_screenshot();
    for (double end = now_s() + seconds; !shows(shot) && now_s() < end; shot = take_screenshot())
        sleep_ms(100);
    return shot;
}

bool wait_for_menu(const screen_shot_t& menu, double seconds) {
    auto shows = [&](const screen_shot_t& s) { return block_difference(s, menu, 0, 0, s.width, s.height) < 8.0; };
    return shows(wait_for_screen(shows, seconds));
}

bool wait_for_play(const game_run_t& run, const screen_shot_t& menu, double seconds) {
    for (double end = now_s() + seconds; now_s() < end; sleep_ms(100))
        if (occurrences(game_output(run), "OpenGL version: ") == 2 &&
            block_difference(take_screenshot(), menu, 0, 0, menu.width, menu.height) > 12.0)
            return true;
    return false;
}

int occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size())
        n++;
    return n;
}

screen_shot_t flipped_upside_down(const screen_shot_t& s) {
    screen_shot_t f = s;
    size_t        row = (size_t)s.width * 3;
    for (int y = 0; y < s.height; y++)
        memcpy(&f.rgb[y * row], &s.rgb[(s.height - 1 - y) * row], row);
    return f;
}

screen_shot_t read_screen_picture(const std::string& path, int width, int height) {
    screen_shot_t s;
    std::string   bytes = read_text_file(path);
    if (bytes.size() < (size_t)width * height * 3)
        return s;
    s.width = width;
    s.height = height;
    s.rgb.resize((size_t)width * height * 3);
    // blue-green-red in the file, red-green-blue on the screen
    for (size_t i = 0; i < s.rgb.size(); i++)
        s.rgb[i] = (uint8_t)bytes[i - i % 3 + 2 - i % 3];
    // the file's first row is the bottom of the screen
    return flipped_upside_down(s);
}

void mean_colour(const screen_shot_t& s, int x0, int y0, int x1, int y1, double rgb[3]) {
    double sum[3] = {0, 0, 0};
    long   n = 0;
    for (int y = y0; y < y1 && y < s.height; y++)
        for (int x = x0; x < x1 && x < s.width; x++, n++)
            for (int c = 0; c < 3; c++)
                sum[c] += s.at(x, y)[c];
    for (int c = 0; c < 3; c++)
        rgb[c] = n ? sum[c] / n : 0;
}

double block_difference(const screen_shot_t& a, const screen_shot_t& b, int x0, int y0, int x1, int y1) {
    const int block = 32;
    double    sum = 0;
    int       blocks = 0;
    for (int by = y0; by + block <= y1; by += block) {
        for (int bx = x0; bx + block <= x1; bx += block, blocks++) {
            double ma[3], mb[3];
            mean_colour(a, bx, by, bx + block, by + block, ma);
            mean_colour(b, bx, by, bx + block, by + block, mb);
            sum += (fabs(ma[0] - mb[0]) + fabs(ma[1] - mb[1]) + fabs(ma[2] - mb[2])) / 3;
        }
    }
    return blocks ? sum / blocks : 255;
}

long white_over_picture(const screen_shot_t& shot, const screen_shot_t& picture, int x0, int y0, int x1, int y1) {
    long n = 0;
    for (int y = y0; y < y1 && y < shot.height && y < picture.height; y++) {
        for (int x = x0; x < x1 && x < shot.width && x < picture.width; x++) {
            const uint8_t* p = shot.at(x, y);
            const uint8_t* q = picture.at(x, y);
            n += p[0] > 230 && p[1] > 230 && p[2] > 230 && q[0] <= 150 && q[1] <= 150 && q[2] <= 150;
        }
    }
    return n;
}
