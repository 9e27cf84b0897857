// The Debian packages as a player gets them: the game and its data unpacked into
// one folder, the launcher makes the player's own folder, shows the menu, plays,
// leaves with status 0 on Esc, keeps a level the player put in place of an installed
// one, makes pictures for a screen or window that has none, says in one line when
// there is no display, and tells a desktop player why a game could not start; the
// level maker's tools run from any folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e_support.h"
#include "support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

std::string unpacked;   // both packages' files, as dpkg would put them under /

// An X server of its own, of a size no picture set is made for; DISPLAY points
// at it while it runs, so the harness's keys and screenshots go there.
struct private_screen_t {
    pid_t       pid = -1;
    std::string display, saved_display;
};

bool start_private_screen(private_screen_t* s, const char* size) {
    int         fds[2];
    std::string said = temp_folder() + "/xvfb.err";   // the server's own lines, kept out of the test's
    if (pipe(fds) != 0)
        return false;
    s->pid = fork();
    if (s->pid == 0) {
        close(fds[0]);
        int err = open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(err, 2);
        std::string fd = std::to_string(fds[1]), screen = std::string(size) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
               (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);
    // the server writes its display number, then a newline, once it takes
    // connections; it gives up if the pipe closes before the newline is written
    std::string number;
    char        c = 0;
    while (s->pid > 0 && c != '\n' && read(fds[0], &c, 1) == 1)
        number += c;
    close(fds[0]);
    if (c != '\n')
        return false;
    s->display = ":" + std::to_string(atoi(number.c_str()));
    s->saved_display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    setenv("DISPLAY", s->display.c_str(), 1);
    return true;
}

void stop_private_screen(private_screen_t* s) {
    if (!s->display.empty())
        setenv("DISPLAY", s->saved_display.c_str(), 1);
    s->display.clear();
    if (s->pid > 0) {
        kill(s->pid, SIGTERM);
        waitpid(s->pid, nullptr, 0);
    }
    s->pid = -1;
}

struct Package : testing::Test {
    std::string      home;
    game_run_t       run;
    private_screen_t screen;

    static void SetUpTestSuite() {
        // packages older than the game or the launcher they hold would test old files
        std::string root = temp_folder();
        for (const char* package : {QUOVIX_PACKAGE_FILE, QUOVIX_DATA_PACKAGE_FILE}) {
            struct stat deb, made;
            if (stat(package, &deb) != 0)
                return;
            for (const char* file : {QUOVIX_BIN_DIR "/quovix", QUOVIX_LAUNCHER_FILE})
                if (stat(file, &made) != 0 || deb.st_mtime < made.st_mtime)
                    return;
            if (system(("dpkg-deb -x " + std::string(package) + " " + root).c_str()) != 0)
                return;
        }
        unpacked = root;
    }
    void SetUp() override {
        if (unpacked.empty())
            GTEST_SKIP() << "no package newer than the game: cd build && cpack -G DEB";
        home = temp_folder();
        run.program = unpacked + "/usr/games/quovix";
        run.env = {"HOME=" + home, "XDG_DATA_HOME="};
    }
    void TearDown() override {
        kill_game(&run);
        stop_private_screen(&screen);
    }
    std::string player(const std::string& file) const { return home + "/.local/share/quovix/" + file; }

    void start() {
        ASSERT_TRUE(launch_game(&run, home));
        ASSERT_TRUE(wait_for_window(&run)) << read_text_file(run.err_path);
    }
    void leave_with_esc() {
        press_key("Escape");
        ASSERT_TRUE(wait_for_exit(&run, 10));
        EXPECT_EQ(run.status, 0) << read_text_file(run.err_path);
    }
};

bool is_link_to(const std::string& path, const std::string& target) {
    char    buf[4096];
    ssize_t n = readlink(path.c_str(), buf, sizeof(buf));
    return n > 0 && std::string(buf, (size_t)n) == target;
}

int count_of(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size())
        n++;
    return n;
}

}   // namespace

TEST_F(Package, LauncherShowsTheMenuPlaysAfterEnterAndLeavesWithStatusZeroOnEsc) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    start();
    // the player's folder: scale.txt made, every resource linked into the installation
    EXPECT_EQ(read_text_file(player("bin/scale.txt")), "1\n");
    std::string installed = unpacked + "/usr/share/games/quovix/resources/";
    for (const char* file :
         {"levelone.bmp", "levelfive.bmp", "spaceship.obj", "1366x768/playgame.bmp", "2560x1080/gameover.bmp"})
        EXPECT_TRUE(is_link_to(player("resources/") + file, installed + file)) << file;

    screen_shot_t shot = take_screenshot();
    std::string   size = std::to_string(shot.width) + "x" + std::to_string(shot.height);
    screen_shot_t menu = read_screen_picture(player("resources/" + size + "/playgame.bmp"), shot.width, shot.height);
    ASSERT_EQ(menu.width, shot.width) << "no menu picture for a " << size << " screen";
    // the window is up before its first frame is drawn: wait for the menu to show
    shot = wait_for_screen(
        [&](const screen_shot_t& s) { return block_difference(s, menu, 0, 0, s.width, s.height) < 8.0; });
    EXPECT_LT(block_difference(shot, menu, 0, 0, shot.width, shot.height), 8.0) << "the menu is not shown";

    press_key("w");
    press_key("Return");
    // start-up runs again for play, then frames of play replace the menu picture
    bool playing = false;
    for (int i = 0; i < 100 && !playing; i++, sleep_ms(100))
        playing = count_of(game_output(run), "OpenGL version: ") == 2 &&
                  block_difference(take_screenshot(), menu, 0, 0, shot.width, shot.height) > 12.0;
    EXPECT_TRUE(playing) << game_output(run);
    leave_with_esc();
}

TEST_F(Package, ALevelThePlayerPutInPlaceOfAnInstalledOneIsKeptAndPlayed) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    start();
    leave_with_esc();
    // a level of 120 rows, which the game reports when it reads it
    std::string own;
    for (int r = 0; r < 120; r++)
        own += r < 12 ? ".FFFFF.\n" : ".#####.\n";
    std::string level = player("resources/levelone.bmp");
    ASSERT_EQ(unlink(level.c_str()), 0);
    write_binary_file(level, level_bmp(own));
    write_text_file(player("bin/scale.txt"), "2\n");

    start();
    leave_with_esc();
    struct stat st;
    ASSERT_EQ(lstat(level.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    std::string bytes = read_text_file(level);
    EXPECT_TRUE(std::vector<uint8_t>(bytes.begin(), bytes.end()) == level_bmp(own));
    EXPECT_NE(game_output(run).find("Bitmap size: 7,120"), std::string::npos) << game_output(run);
    EXPECT_EQ(read_text_file(player("bin/scale.txt")), "2\n");
    EXPECT_TRUE(
        is_link_to(player("resources/leveltwo.bmp"), unpacked + "/usr/share/games/quovix/resources/leveltwo.bmp"));
}

TEST_F(Package, WithoutADisplayTheLauncherSaysSoInOneLineAndFails) {
    std::string own = std::string("DISPLAY=") + (have_display() ? getenv("DISPLAY") : "");
    struct {
        std::string              display;
        std::vector<std::string> args;
        const char*              says;
    } cases[] = {
        {"DISPLAY=", {}, "DISPLAY is not set"},
        {"DISPLAY=:987", {}, "cannot open the display \":987\""},
        // the display named on the command line is the one opened
        {"DISPLAY=", {"-display", ":988"}, "cannot open the display \":988\""},
        {own, {"-display", ":988"}, "cannot open the display \":988\""},
    };
    for (const auto& c : cases) {
        run = game_run_t();
        run.program = unpacked + "/usr/games/quovix";
        run.args = c.args;
        run.env = {"HOME=" + home, "XDG_DATA_HOME=", c.display};
        ASSERT_TRUE(launch_game(&run, home));
        ASSERT_TRUE(wait_for_exit(&run, 10)) << c.display;
        EXPECT_NE(run.status, 0) << c.display;
        std::vector<std::string> lines = lines_of(read_text_file(run.err_path));
        ASSERT_EQ(lines.size(), 1u) << c.display << "\n" << read_text_file(run.err_path);
        EXPECT_EQ(lines[0].rfind("quovix: ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(c.says), std::string::npos) << lines[0];
        EXPECT_EQ(game_output(run), "") << c.display;
    }
}

TEST_F(Package, AFolderTheLauncherMustNotPlayInIsNamedWithItsReasonAndLeftAlone) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    std::string installed = unpacked + "/usr/share/games/quovix/resources";
    std::string inside;   // a picture set's folder
    for (const auto& entry : std::filesystem::directory_iterator(installed))
        if (entry.is_directory())
            inside = entry.path().string();
    ASSERT_FALSE(inside.empty());
    enum { LINK, FILE, BIN_FILE };
    struct {
        const char* name;
        int         made;
        std::string resources_leads_to;
        std::string says;
    } cases[] = {
        {"a link to a folder that holds the game", LINK, unpacked, "which holds the installed game"},
        {"a link to the installed resources", LINK, installed, "inside the installed game"},
        {"a link into the installed resources", LINK, inside, "inside the installed game"},
        {"a link to the game's programs", LINK, unpacked + "/usr/lib/games/quovix", "inside the installed game"},
        {"a link to nothing", LINK, home + "/gone",
         player("resources") + " is a link to " + home + "/gone, which does not exist"},
        {"resources a file", FILE, "", player("resources") + " is a file, not a folder"},
        {"bin a file", BIN_FILE, "", player("bin") + " is a file, not a folder"},
    };
    for (const auto& c : cases) {
        std::string folder = player("");
        ASSERT_EQ(system(("rm -rf " + folder + " && mkdir -p " + folder).c_str()), 0);
        if (c.made == LINK) {
            ASSERT_EQ(symlink(c.resources_leads_to.c_str(), player("resources").c_str()), 0);
        }
        if (c.made == FILE)
            write_text_file(player("resources"), "");
        if (c.made == BIN_FILE)
            write_text_file(player("bin"), "");
        run = game_run_t();
        run.program = unpacked + "/usr/games/quovix";
        run.env = {"HOME=" + home, "XDG_DATA_HOME="};
        ASSERT_TRUE(launch_game(&run, home));
        ASSERT_TRUE(wait_for_exit(&run, 20)) << c.name;
        EXPECT_EQ(run.status, 1) << c.name;
        std::vector<std::string> lines = lines_of(read_text_file(run.err_path));
        ASSERT_EQ(lines.size(), 1u) << c.name << "\n" << read_text_file(run.err_path);
        EXPECT_NE(lines[0].find(c.says), std::string::npos) << c.name << ": " << lines[0];
        EXPECT_EQ(game_output(run), "") << c.name;
        EXPECT_FALSE(file_exists(unpacked + "/levelone.bmp")) << c.name;
        EXPECT_FALSE(file_exists(inside + "/levelone.bmp")) << c.name;
        EXPECT_NE(system(("ls -a " + installed + " | grep -q '^.pictures-'").c_str()), 0) << c.name;
    }
}

// A command put first on the game's PATH that keeps its arguments and its input in
// a file of its own, whole once it is there, and ends with the given status.
std::string stub_command(const std::string& folder, const std::string& name, int status) {
    std::string record = folder + "/" + name + ".said";
    write_text_file(folder + "/" + name, "#!/bin/sh\n{ printf '%s\\n' \"$@\"; cat; } >'" + record + ".part' && mv '" +
                                             record + ".part' '" + record + "'\nexit " + std::to_string(status) + "\n");
    chmod((folder + "/" + name).c_str(), 0755);
    return record;
}

bool wait_for_file(const std::string& path, int seconds) {
    for (int i = 0; i < seconds * 20 && !file_exists(path); i++)
        sleep_ms(50);
    return file_exists(path);
}

TEST_F(Package, AGameThatCannotStartTellsThePlayerWhyOnTheDesktopAndKeepsItsLinesAndStatus) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    // a level one the player broke: the game exits 1 with its reason
    ASSERT_EQ(system(("mkdir -p " + player("resources") + " " + player("bin")).c_str()), 0);
    write_text_file(player("resources/levelone.bmp"), "not a picture");
    std::string reason = "levelone.bmp: file ends inside its headers";
    std::string finished_at_once = temp_folder() + "/levelone.bmp";   // finish on row 2
    write_binary_file(finished_at_once, level_bmp(plain_level({{2, ".FFFFF."}, {3, ".FFFFF."}})));
    std::vector<std::string> printed;
    // a notification, or when none can be sent, a small window
    struct {
        int         notify_status;
        const char* shown_by;
    } cases[] = {{0, "notify-send"}, {1, "xmessage"}};
    for (const auto& c : cases) {
        std::string stubs = temp_folder();
        std::string notified = stub_command(stubs, "notify-send", c.notify_status);
        std::string messaged = stub_command(stubs, "xmessage", 0);
        run = game_run_t();
        run.program = unpacked + "/usr/games/quovix";
        run.env = {"HOME=" + home, "XDG_DATA_HOME=", "PATH=" + stubs + ":" + getenv("PATH")};
        ASSERT_TRUE(launch_game(&run, home));
        ASSERT_TRUE(wait_for_exit(&run, 20));
        EXPECT_EQ(run.status, 1);
        printed.push_back(game_output(run));
        EXPECT_NE(read_text_file(run.err_path).find(reason), std::string::npos) << read_text_file(run.err_path);

        std::string shown = c.notify_status ? messaged : notified;
        ASSERT_TRUE(wait_for_file(shown, 10)) << c.shown_by << " was not asked";
        std::string said = read_text_file(shown);
        EXPECT_NE(said.find("Quovix could not start"), std::string::npos) << said;
        EXPECT_NE(said.find(reason), std::string::npos) << said;
        EXPECT_NE(said.find(player("bin")), std::string::npos) << said;
        // what start-up reports on the way stays in the terminal
        EXPECT_EQ(said.find("OpenGL version"), std::string::npos) << said;
        if (!c.notify_status) {
            EXPECT_FALSE(file_exists(messaged)) << "a notification was sent, no window is wanted";
        }
    }
    // a game that played a level before it stopped is not said to have failed to start
    write_text_file(player("resources/levelone.bmp"), read_text_file(finished_at_once));
    write_text_file(player("resources/leveltwo.bmp"), "not a picture");
    std::string stubs = temp_folder(), notified = stub_command(stubs, "notify-send", 0);
    run = game_run_t();
    run.program = unpacked + "/usr/games/quovix";
    run.env = {"HOME=" + home, "XDG_DATA_HOME=", "PATH=" + stubs + ":" + getenv("PATH")};
    start();
    // the menu stands still once it is drawn
    screen_shot_t menu;
    wait_for_screen([&](const screen_shot_t& s) {
        bool same = s.rgb == menu.rgb;
        menu = s;
        return same;
    });
    press_key("Return");
    ASSERT_TRUE(wait_for_exit(&run, 30));
    EXPECT_EQ(run.status, 1);
    ASSERT_TRUE(wait_for_file(notified, 10));
    EXPECT_NE(read_text_file(notified).find("\nQuovix stopped\n"), std::string::npos) << read_text_file(notified);
    EXPECT_EQ(read_text_file(notified).find("could not start"), std::string::npos) << read_text_file(notified);
    EXPECT_NE(read_text_file(notified).find("leveltwo.bmp"), std::string::npos) << read_text_file(notified);
    EXPECT_EQ(read_text_file(notified).find("Bitmap size"), std::string::npos) << read_text_file(notified);
    std::remove(player("resources/leveltwo.bmp").c_str());
    write_text_file(player("resources/levelone.bmp"), "not a picture");
    // the game alone, as the launcher starts it, prints the same lines
    game_run_t alone;
    alone.program = unpacked + "/usr/lib/games/quovix/quovix";
    ASSERT_TRUE(launch_game(&alone, player("bin")));
    ASSERT_TRUE(wait_for_exit(&alone, 20));
    EXPECT_EQ(alone.status, 1);
    EXPECT_NE(game_output(alone).find("ERROR: "), std::string::npos) << game_output(alone);
    for (const std::string& lines : printed)
        EXPECT_EQ(lines, game_output(alone)) << "the game's lines are passed on unchanged";
}

std::string command_output(const std::string& command) {
    FILE*       p = popen(command.c_str(), "r");
    std::string out;
    char        buf[256];
    while (p && fgets(buf, sizeof(buf), p))
        out += buf;
    if (p)
        pclose(p);
    return out;
}

bool game_window_shown() {
    static const std::string said = temp_folder() + "/xdotool.err";
    return !command_output("xdotool search --name '^Quovix - by Orrib$' 2>" + said).empty();
}

TEST_F(Package, TheDesktopStoppingTheLauncherStopsTheGameWithoutANotification) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    std::string stubs = temp_folder();
    std::string notified = stub_command(stubs, "notify-send", 0);
    run.env.push_back("PATH=" + stubs + ":" + getenv("PATH"));
    start();
    ASSERT_EQ(kill(run.pid, SIGTERM), 0);
    ASSERT_TRUE(wait_for_exit(&run, 10));
    EXPECT_EQ(run.status, 128 + SIGTERM);
    bool shown = true;
    for (int i = 0; i < 100 && (shown = game_window_shown()); i++)
        sleep_ms(50);
    EXPECT_FALSE(shown) << "the game outlived its launcher";
    EXPECT_FALSE(file_exists(notified)) << "a game stopped was not refused";
}

TEST_F(Package, HelpAndVersionNeedNoDisplayAndAWindowSizeGetsItsPictureSet) {
    struct {
        std::vector<std::string> args;
        int                      status;
        const char*              out_starts;
    } cases[] = {
        {{"--help"}, 0, "usage: quovix"},
        {{"--version"}, 0, "quovix "},
    };
    for (const auto& c : cases) {
        run = game_run_t();
        run.program = unpacked + "/usr/games/quovix";
        run.args = c.args;
        run.env = {"HOME=" + home, "XDG_DATA_HOME=", "DISPLAY="};
        ASSERT_TRUE(launch_game(&run, home));
        ASSERT_TRUE(wait_for_exit(&run, 10));
        EXPECT_EQ(run.status, c.status) << c.args[0];
        EXPECT_EQ(game_output(run).rfind(c.out_starts, 0), 0u) << game_output(run);
        EXPECT_FALSE(file_exists(player("bin"))) << "no folder is made to answer " << c.args[0];
    }
    if (!have_display())
        GTEST_SKIP() << "no X display";
    // sets made for earlier windows, used an hour, a day and a week ago, and a set of the player's own
    const char* made[] = {"300x200", "400x300", "500x400"};
    const char* used[] = {"1 hour ago", "1 day ago", "1 week ago"};
    for (int i = 0; i < 3; i++) {
        std::string set = player("resources/") + made[i];
        ASSERT_EQ(system(("mkdir -p " + set + " && touch -d '" + used[i] + "' " + set + "/.made").c_str()), 0);
    }
    ASSERT_EQ(system(("mkdir -p " + player("resources/320x240")).c_str()), 0);
    run = game_run_t();
    run.program = unpacked + "/usr/games/quovix";
    run.args = {"--window", "640x400"};
    run.env = {"HOME=" + home, "XDG_DATA_HOME="};
    start();
    struct stat st;
    EXPECT_EQ(stat(player("resources/640x400/playgame.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 640 * 400 * 3);
    leave_with_esc();
    // the launcher keeps the sets it made for the last three sizes, and every set it did not make
    EXPECT_TRUE(file_exists(player("resources/300x200/.made")));
    EXPECT_TRUE(file_exists(player("resources/400x300/.made")));
    EXPECT_FALSE(file_exists(player("resources/500x400")));
    EXPECT_TRUE(file_exists(player("resources/320x240")));
    // pictures that cannot be put in place (a file holds their name): the set nearest is shown, and said to be
    write_text_file(player("resources/720x480"), "");
    run = game_run_t();
    run.program = unpacked + "/usr/games/quovix";
    run.args = {"--window", "720x480"};
    run.env = {"HOME=" + home, "XDG_DATA_HOME="};
    start();
    leave_with_esc();
    std::string said = read_text_file(run.err_path);
    EXPECT_NE(said.find("could not make pictures for a 720x480 screen; the nearest picture set is stretched to fit"),
              std::string::npos)
        << said;
}

TEST_F(Package, AScreenWithNoPictureSetGetsOneMadeInThePlayersFolder) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    ASSERT_TRUE(start_private_screen(&screen, "1024x600")) << "cannot start Xvfb";
    run.env.push_back("DISPLAY=" + screen.display);
    start();
    screen_shot_t shot = take_screenshot();
    ASSERT_EQ(std::vector<int>({shot.width, shot.height}), std::vector<int>({1024, 600}));
    for (const char* picture : {"background.bmp", "gameover.bmp", "playgame.bmp", "exitgame.bmp"}) {
        struct stat st;
        std::string path = player("resources/1024x600/") + picture;
        ASSERT_EQ(lstat(path.c_str(), &st), 0) << path;
        EXPECT_TRUE(S_ISREG(st.st_mode) && st.st_size == 1024 * 600 * 3) << path;
    }
    screen_shot_t menu = read_screen_picture(player("resources/1024x600/playgame.bmp"), 1024, 600);
    shot = wait_for_screen([&](const screen_shot_t& s) { return block_difference(s, menu, 0, 0, 1024, 600) < 8.0; });
    EXPECT_LT(block_difference(shot, menu, 0, 0, 1024, 600), 8.0) << "the menu is not shown";
    leave_with_esc();
}

// Two launches at once on a screen with no set both play the one that lands first,
// with no false complaint; a set a killed launcher left half made goes at the next
// launch, one another launcher may still be filling stays.
TEST_F(Package, TwoLaunchesAtOnceShareOnePictureSetAndAKilledLaunchersSetIsCleared) {
    if (!have_display())
        GTEST_SKIP() << "no X display";
    ASSERT_TRUE(start_private_screen(&screen, "1024x600")) << "cannot start Xvfb";
    std::string left = player("resources/.pictures-left"), busy = player("resources/.pictures-busy");
    for (const std::string& dir : {left, busy}) {
        ASSERT_EQ(system(("mkdir -p " + dir).c_str()), 0);
        write_binary_file(dir + "/background.bmp", std::vector<uint8_t>(4096, 7));
    }
    ASSERT_EQ(system(("touch -d '1 hour ago' " + left).c_str()), 0);
    run.env.push_back("DISPLAY=" + screen.display);
    game_run_t second = run;
    ASSERT_TRUE(launch_game(&run, home));
    ASSERT_TRUE(launch_game(&second, home));
    bool shown = wait_for_window(&run) && wait_for_window(&second);
    kill_game(&second);
    ASSERT_TRUE(shown) << read_text_file(run.err_path) << read_text_file(second.err_path);
    for (const game_run_t* r : {&run, &second}) {
        std::string err = read_text_file(r->err_path);
        EXPECT_EQ(err.find("could not make pictures"), std::string::npos) << err;
        EXPECT_EQ(err.find("not empty"), std::string::npos) << err;
    }
    struct stat st;
    EXPECT_EQ(stat(player("resources/1024x600/playgame.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 1024 * 600 * 3);
    EXPECT_FALSE(file_exists(left)) << "a killed launcher's set was kept";
    EXPECT_TRUE(file_exists(busy + "/background.bmp")) << "a set being filled was taken away";
    EXPECT_EQ(system(("ls -a " + player("resources") + " | grep -c '^.pictures-' | grep -qx 1").c_str()), 0)
        << "only the busy set is left";
}

TEST_F(Package, TheGameNeedsTheDataOfItsOwnVersionMadeForEveryArchitecture) {
    std::string version = command_output("dpkg-deb -f " QUOVIX_DATA_PACKAGE_FILE " Version");
    ASSERT_FALSE(version.empty());
    version.pop_back();
    EXPECT_EQ(command_output("dpkg-deb -f " QUOVIX_DATA_PACKAGE_FILE " Architecture"), "all\n");
    EXPECT_NE(command_output("dpkg-deb -f " QUOVIX_PACKAGE_FILE " Depends").find("quovix-data (= " + version + ")"),
              std::string::npos);
    // the data package holds every resource, the game's package none
    EXPECT_NE(command_output("dpkg-deb -c " QUOVIX_DATA_PACKAGE_FILE).find("resources/levelone.bmp"),
              std::string::npos);
    EXPECT_EQ(command_output("dpkg-deb -c " QUOVIX_PACKAGE_FILE).find("usr/share/games/"), std::string::npos);
}

TEST_F(Package, TheLevelMakersToolsRunFromAnyFolderOnTheInstalledLevels) {
    std::string installed = unpacked + "/usr/share/games/quovix/resources/";
    struct {
        const char*              tool;
        std::vector<std::string> args;
        const char*              says;
    } cases[] = {
        {"quovix-solve", {"--help"}, "usage: quovix-solve"},
        {"quovix-solve",
         {"--play", installed + "levelone.bmp", QUOVIX_SOURCE_DIR "/data/levels/levelone.replay"},
         "finished in frame"},
        {"quovix-level", {"check", installed + "levelfive.bmp"}, "levelfive.bmp: ok"},
    };
    for (const auto& c : cases) {
        std::string folder = temp_folder();
        run = game_run_t();
        run.program = unpacked + "/usr/games/" + c.tool;
        run.args = c.args;
        run.env = {"HOME=" + home, "DISPLAY="};
        ASSERT_TRUE(launch_game(&run, folder));
        ASSERT_TRUE(wait_for_exit(&run, 20)) << c.tool << " " << c.args[0];
        EXPECT_EQ(run.status, 0) << c.tool << " " << c.args[0] << "\n" << read_text_file(run.err_path);
        EXPECT_NE(game_output(run).find(c.says), std::string::npos) << game_output(run);
        EXPECT_TRUE(file_exists(unpacked + "/usr/share/man/man6/" + c.tool + ".6.gz")) << c.tool;
    }
}
