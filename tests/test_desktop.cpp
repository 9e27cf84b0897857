// The game on a desktop: full screen or in a window of the size asked for, its
// window named for the desktop entry and carrying the game's icon.
#include <gtest/gtest.h>

// before Xlib, whose macros clash with names in gtest
#include "e2e_support.h"
#include "support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
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
        XSizeHints                 hints = {};
        long                       given = 0;
        XGetWMNormalHints(dpy, run.window, &hints, &given);
        XCloseDisplay(dpy);
        if (c.w) {
            // a window manager is asked to keep the size the game draws for
            EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
            EXPECT_EQ(std::vector<int>({hints.min_width, hints.min_height, hints.max_width, hints.max_height}),
                      std::vector<int>({c.w, c.h, c.w, c.h}));
        }
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
