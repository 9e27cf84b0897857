// The game on a desktop: full screen or in a window of the size asked for, its
// window named for the desktop entry and carrying the game's icon.
#include <gtest/gtest.h>

// before Xlib, whose macros clash with names in gtest
#include "e2e_support.h"
#include "support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <cstring>

namespace {

// The window's WM_CLASS as "instance/class", and how many numbers its _NET_WM_ICON holds.
std::string window_class(Display* dpy, unsigned long window) {
    XClassHint  hint = {};
    std::string names;
    if (XGetClassHint(dpy, window, &hint)) {
        names = std::string(hint.res_name) + "/" + hint.res_class;
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return names;
}

std::vector<unsigned long> window_icon(Display* dpy, unsigned long window) {
    Atom                       type;
    int                        format;
    unsigned long              count = 0, after;
    unsigned char*             data = nullptr;
    std::vector<unsigned long> icon;
    Atom                       net_wm_icon = XInternAtom(dpy, "_NET_WM_ICON", False);
    if (XGetWindowProperty(dpy, window, net_wm_icon, 0, 1 << 20, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        icon.assign((unsigned long*)data, (unsigned long*)data + count);
        XFree(data);
    }
    return icon;
}

// The class the desktop entry links its windows by.
std::string entry_window_class() {
    for (const std::string& line : lines_of(read_text_file(QUOVIX_DESKTOP_ENTRY)))
        if (line.rfind("StartupWMClass=", 0) == 0)
            return line.substr(strlen("StartupWMClass="));
    return "";
}

screen_shot_t cut(const screen_shot_t& s, int x0, int y0, int w, int h) {
    screen_shot_t part;
    part.width = w;
    part.height = h;
    for (int y = y0; y < y0 + h; y++)
        part.rgb.insert(part.rgb.end(), s.at(x0, y), s.at(x0, y) + (size_t)w * 3);
    return part;
}

}   // namespace

TEST(Desktop, TheWindowCarriesItsClassAndIconFullScreenOrInAWindowOfTheAskedSize) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    // another display, named by DISPLAY where a row names the test's own with -display
    std::string other, own = getenv("DISPLAY");
    pid_t       other_server = start_x_server("640x480x24", &other);
    ASSERT_GT(other_server, 0) << "cannot start Xvfb";
    struct server_end_t {
        pid_t pid;
        ~server_end_t() { stop_x_server(pid); }
    } other_ends = {other_server};
    struct {
        std::vector<std::string> args;
        int                      w, h;   // 0: the screen's
        std::vector<std::string> env;
    } cases[] = {
        {{}, 0, 0, {}},
        // an X option passes through to the window library: the window is put at the corner
        {{"--window", "800x600", "-geometry", "+0+0"}, 800, 600, {}},
        // every connection of the game's own opens the display the window library opened
        {{"-display", own}, 0, 0, {"DISPLAY=" + other}},
        {{"-display", own}, 0, 0, {"DISPLAY="}},
    };
    for (const auto& c : cases) {
        std::string name = testing::PrintToString(c.args) + testing::PrintToString(c.env);
        std::string bin = make_play_folder({plain_level()});
        if (c.w) {
            // the pictures made for that size, as the launcher makes them
            std::string set = bin + "/../resources/" + std::to_string(c.w) + "x" + std::to_string(c.h);
            std::string paint = std::string(QUOVIX_TOOLS_DIR) + "/quovix-gen-pictures " + set + " " +
                                std::to_string(c.w) + " " + std::to_string(c.h);
            ASSERT_EQ(system(paint.c_str()), 0);
        }
        game_run_t run;
        run.args = c.args;
        run.env = c.env;
        ASSERT_TRUE(launch_game(&run, bin));
        ASSERT_TRUE(wait_for_window(&run)) << name << game_output(run) << read_text_file(run.err_path);
        int x, y, w, h, screen_w, screen_h;
        ASSERT_TRUE(window_geometry(run, &x, &y, &w, &h, &screen_w, &screen_h));
        EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, c.w ? c.w : screen_w, c.h ? c.h : screen_h}))
            << name;

        Display* dpy = open_display();
        ASSERT_NE(dpy, nullptr);
        // the desktop matches the class part to its entry's StartupWMClass
        ASSERT_NE(entry_window_class(), "");
        EXPECT_EQ(window_class(dpy, run.window), "quovix/" + entry_window_class()) << name;
        std::vector<unsigned long> icon = window_icon(dpy, run.window);
        XCloseDisplay(dpy);
        ASSERT_EQ(icon.size(), 2u + 32 * 32 + 2 + 64 * 64 + 2 + 128 * 128) << name;
        EXPECT_EQ(std::vector<unsigned long>(icon.begin(), icon.begin() + 2), std::vector<unsigned long>({32, 32}));

        if (c.w) {
            // the menu is the one painted for the window's size, filling the window
            screen_shot_t menu = read_screen_picture(bin + "/../resources/800x600/playgame.bmp", c.w, c.h);
            screen_shot_t shot = wait_for_screen([&](const screen_shot_t& s) {
                return block_difference(cut(s, 0, 0, c.w, c.h), menu, 0, 0, c.w, c.h) < 8.0;
            });
            EXPECT_LT(block_difference(cut(shot, 0, 0, c.w, c.h), menu, 0, 0, c.w, c.h), 8.0)
                << "no menu in the window";
        }
        press_key("Escape");
        ASSERT_TRUE(wait_for_exit(&run, 10)) << name;
        EXPECT_EQ(run.status, 0) << name << read_text_file(run.err_path);
    }
    // the launcher's size is the display's it is given, not DISPLAY's
    std::string screen = std::string(QUOVIX_TOOLS_DIR) + "/quovix-screen";
    FILE*       p = popen(("DISPLAY=" + other + " " + screen + " -display " + own).c_str(), "r");
    char        size[64] = "";
    ASSERT_NE(p, nullptr);
    EXPECT_NE(fgets(size, sizeof(size), p), nullptr);
    pclose(p);
    int      screen_w = 0, screen_h = 0;
    Display* dpy = open_display();
    ASSERT_NE(dpy, nullptr);
    screen_w = DisplayWidth(dpy, DefaultScreen(dpy));
    screen_h = DisplayHeight(dpy, DefaultScreen(dpy));
    XCloseDisplay(dpy);
    EXPECT_EQ(std::string(size), std::to_string(screen_w) + "x" + std::to_string(screen_h) + "\n");
}

namespace {

// Whether the pointer shows where it stands now: some pixel of its image is not see-through.
bool pointer_shows() {
    Display* dpy = open_display();
    if (!dpy)
        return true;
    bool               shows = false;
    XFixesCursorImage* image = XFixesGetCursorImage(dpy);
    for (int i = 0; image && i < image->width * image->height && !shows; i++)
        shows = (image->pixels[i] >> 24) != 0;
    if (image)
        XFree(image);
    XCloseDisplay(dpy);
    return shows;
}

bool wait_for(const std::function<bool()>& holds, double seconds = 10) {
    for (int i = 0; i < seconds * 20; i++, sleep_ms(50))
        if (holds())
            return true;
    return holds();
}

}   // namespace

// F11 and Alt+Enter switch between full screen and a window of three quarters of the
// screen; the drawing follows the window's size however it changes, and the pointer
// hides in full screen and in the window while keys are in use.
TEST(Desktop, F11AndAltEnterSwitchTheWindowTheViewFollowsItsSizeAndThePointerHidesWhileKeysAreUsed) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    game_run_t run;
    ASSERT_TRUE(launch_game(&run, make_play_folder({plain_level()})));
    ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    int  x, y, w, h, screen_w, screen_h;
    auto sized = [&](int want_w, int want_h) {
        return wait_for(
            [&] { return window_geometry(run, &x, &y, &w, &h, &screen_w, &screen_h) && w == want_w && h == want_h; });
    };
    // the menu's line of keys, centred at the bottom of what the window shows
    auto keys_line_centre = [&](int width, int height) {
        screen_shot_t s = take_screenshot();
        long          white = 0, sum = 0;
        for (int row = height - 40; row < height; row++)
            for (int col = 0; col < width; col++)
                if (s.at(col, row)[0] > 200 && s.at(col, row)[1] > 200 && s.at(col, row)[2] > 200)
                    white++, sum += col;
        return white > 100 ? (int)(sum / white) : -1;
    };
    ASSERT_TRUE(window_geometry(run, &x, &y, &w, &h, &screen_w, &screen_h));
    send_keys("mousemove " + std::to_string(screen_w / 3) + " " + std::to_string(screen_h / 3));
    EXPECT_TRUE(wait_for([] { return !pointer_shows(); })) << "the pointer shows over the full screen";

    press_key("F11");
    ASSERT_TRUE(sized(screen_w * 3 / 4, screen_h * 3 / 4)) << w << "x" << h;
    EXPECT_TRUE(wait_for([&] { return abs(keys_line_centre(w, h) - w / 2) < 20; })) << keys_line_centre(w, h);
    EXPECT_FALSE(pointer_shows()) << "shown while a key is in use";
    send_keys("mousemove " + std::to_string(screen_w / 3 + 10) + " " + std::to_string(screen_h / 3 + 10));
    EXPECT_TRUE(wait_for(pointer_shows)) << "the pointer stays hidden as it moves over the window";
    press_key("w");
    EXPECT_TRUE(wait_for([] { return !pointer_shows(); })) << "the pointer shows while keys are in use";

    // a size the window manager gives, or the player drags
    send_keys("windowsize " + std::to_string(run.window) + " 900 500");
    ASSERT_TRUE(sized(900, 500));
    EXPECT_TRUE(wait_for([&] { return abs(keys_line_centre(900, 500) - 450) < 20; })) << keys_line_centre(900, 500);

    send_keys("keydown alt keydown Return");
    sleep_ms(150);
    send_keys("keyup Return keyup alt");
    ASSERT_TRUE(sized(screen_w, screen_h)) << w << "x" << h;
    EXPECT_TRUE(wait_for([&] { return abs(keys_line_centre(w, h) - w / 2) < 20; })) << keys_line_centre(w, h);
    press_key("Escape");
    ASSERT_TRUE(wait_for_exit(&run, 10));
    EXPECT_EQ(run.status, 0);
    // start-up ran once: Alt+Enter did not confirm the menu's choice
    EXPECT_EQ(occurrences(game_output(run), "OpenGL version"), 1) << game_output(run);
}
