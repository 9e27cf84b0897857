// The command line: the game's own options taken out, the window library's left
// in order, and help, version and mistakes answered without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/bindings.h"
#include "app/options.h"
#include "render/render.h"
#include "support.h"

namespace {

struct parsed_t {
    options_t                options;
    std::vector<std::string> left;      // what the window library gets, the program name first
    std::string              display;   // -display's value, "" when not given
};

parsed_t parse(std::vector<std::string> args) {
    args.insert(args.begin(), "quovix");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int      argc = (int)args.size();
    parsed_t p;
    parse_options(&argc, argv.data(), &p.options);
    for (int i = 0; i < argc; i++)
        p.left.emplace_back(argv[i]);
    p.display = p.options.display ? p.options.display : "";
    EXPECT_EQ(argv[argc], nullptr);
    return p;
}

}   // namespace

TEST(CommandLine, OptionsGiveTheLaunchTheWindowAndWhatIsLeftForTheWindowLibrary) {
    struct {
        std::vector<std::string> args;
        launch_t                 launch;
        int                      w, h;
        std::vector<std::string> left;
    } cases[] = {
        {{}, LAUNCH_PLAY, 0, 0, {"quovix"}},
        {{"--help"}, LAUNCH_HELP, 0, 0, {"quovix"}},
        {{"-h"}, LAUNCH_HELP, 0, 0, {"quovix"}},
        {{"--version"}, LAUNCH_VERSION, 0, 0, {"quovix"}},
        {{"--window", "800x600"}, LAUNCH_PLAY, 800, 600, {"quovix"}},
        {{"--window=1280x720"}, LAUNCH_PLAY, 1280, 720, {"quovix"}},
        {{"--window", "64x8192"}, LAUNCH_PLAY, 64, 8192, {"quovix"}},
        {{"-display", ":3", "--window", "640x480", "-sync"},
         LAUNCH_PLAY,
         640,
         480,
         {"quovix", "-display", ":3", "-sync"}},
        {{"-geometry", "+100+50", "-iconic"}, LAUNCH_PLAY, 0, 0, {"quovix", "-geometry", "+100+50", "-iconic"}},
        // the first answer asked for wins, so help is given even after a later mistake
        {{"--help", "--window", "0x0"}, LAUNCH_HELP, 0, 0, {"quovix"}},
        {{"--bogus", "--help"}, LAUNCH_BAD, 0, 0, {"quovix"}},
        {{"level.bmp"}, LAUNCH_BAD, 0, 0, {"quovix"}},
        {{"--window"}, LAUNCH_BAD, 0, 0, {"quovix"}},
        {{"-display"}, LAUNCH_BAD, 0, 0, {"quovix"}},
        {{"--seed", "42", "-sync"}, LAUNCH_PLAY, 0, 0, {"quovix", "-sync"}},
        {{"--seed"}, LAUNCH_BAD, 0, 0, {"quovix"}},
    };
    for (const auto& c : cases) {
        std::string name = testing::PrintToString(c.args);
        parsed_t    p = parse(c.args);
        EXPECT_EQ(p.options.launch, c.launch) << name;
        EXPECT_EQ(p.options.window_width, c.w) << name;
        EXPECT_EQ(p.options.window_height, c.h) << name;
        if (c.launch != LAUNCH_BAD) {
            EXPECT_EQ(p.left, c.left) << name;
            // the display the window library is told to open, for the game's own connections too
            std::string display = c.args.size() > 1 && c.args[0] == "-display" ? c.args[1] : "";
            EXPECT_EQ(p.display, display) << name;
        }
    }
}

TEST(CommandLine, AWindowSizeOutsideTheLimitsOrMisspeltIsRefused) {
    for (const char* size : {"63x600", "800x63", "8193x600", "800x8193", "99999999999999999999x600", "0x0", "-800x600",
                             "+800x600", "800X600", "800x600x", "800x", "x600", "800 x600", "800x600 ", "", "wide"}) {
        parsed_t p = parse({"--window", size});
        EXPECT_EQ(p.options.launch, LAUNCH_BAD) << size;
        EXPECT_EQ(p.options.window_width, 0) << size;
        EXPECT_NE(std::string(p.options.why).find(std::string("\"") + size + "\""), std::string::npos) << p.options.why;
    }
}

// A seed is the level tool's seed: digits only, 0 to 2^64-1, each bad form refused naming it.
TEST(CommandLine, ASeedIsAWholeNumberThatFitsIn64Bits) {
    const struct {
        const char* seed;
        bool        taken;
        uint64_t    value;
    } rows[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"18446744073709551615", true, UINT64_MAX},
        {"007", true, 7},
        {"18446744073709551616", false, 0},
        {"99999999999999999999999", false, 0},
        {"-1", false, 0},
        {"+1", false, 0},
        {"1.5", false, 0},
        {"12abc", false, 0},
        {"abc", false, 0},
        {" 1", false, 0},
        {"", false, 0},
    };
    for (const auto& r : rows) {
        parsed_t p = parse({"--seed", r.seed});
        EXPECT_EQ(p.options.launch, r.taken ? LAUNCH_PLAY : LAUNCH_BAD) << r.seed;
        EXPECT_EQ(p.options.seeded, r.taken) << r.seed;
        if (r.taken)
            EXPECT_EQ(p.options.seed, r.value) << r.seed;
        else
            EXPECT_NE(std::string(p.options.why).find(std::string("\"") + r.seed + "\""), std::string::npos)
                << p.options.why;
    }
    parsed_t joined = parse({"--seed=9"});
    EXPECT_TRUE(joined.options.seeded);
    EXPECT_EQ(joined.options.seed, 9u);
}

static std::string without_carriage_returns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The real program, with no display to open: help and version on standard output,
// a mistake in one line on standard error naming it, with the usage.
TEST(CommandLine, TheGameAnswersWithoutADisplay) {
    std::string folder = temp_folder();
    struct {
        const char* args;
        int         status;
        std::string out, err;   // what each holds, all of it when it ends in a newline
    } cases[] = {
        {"--help", 0, "usage: quovix [--window WIDTHxHEIGHT]", ""},
        {"-h --window 1x1", 0, "  p   ", ""},
        {"--version", 0, std::string("quovix ") + QUOVIX_VERSION + "\n", ""},
        {"--bogus", 2, "", "quovix: unknown option \"--bogus\"; usage: quovix"},
        {"--window 1x1", 2, "", "not \"1x1\"; usage: quovix"},
        {"--help", 0, "  --seed N ", ""},
        {"--seed abc", 2, "", "quovix: --seed wants a whole number from 0 to 18446744073709551615, not \"abc\""},
        {"--seed -1", 2, "", "not \"-1\"; usage: quovix"},
        {"--seed 18446744073709551616", 2, "", "not \"18446744073709551616\"; usage: quovix"},
        {"--seed", 2, "", "quovix: --seed wants a seed"},
    };
    for (const auto& c : cases) {
#ifdef _WIN32
        // no DISPLAY to take away; the console ends the game's lines with CR LF
        std::string command =
            std::string("\"" QUOVIX_BIN_DIR "/quovix.exe\" ") + c.args + " >" + folder + "/out 2>" + folder + "/err";
#else
        std::string command = std::string("env -u DISPLAY " QUOVIX_BIN_DIR "/quovix ") + c.args + " >" + folder +
                              "/out 2>" + folder + "/err";
#endif
        int status = system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.args;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.args;
        std::string out = without_carriage_returns(read_text_file(folder + "/out"));
        std::string err = without_carriage_returns(read_text_file(folder + "/err"));
        EXPECT_EQ(out.empty(), c.out.empty()) << c.args << "\n" << out;
        EXPECT_NE(out.find(c.out), std::string::npos) << c.args << "\n" << out;
        EXPECT_EQ(lines_of(err).size(), c.err.empty() ? 0u : 1u) << c.args << "\n" << err;
        EXPECT_NE(err.find(c.err), std::string::npos) << c.args << "\n" << err;
    }
}

// The lines of text from `from` up to the next line starting with `until`.
static std::string section(const std::string& text, const std::string& from, const std::string& until) {
    size_t start = text.find(from);
    if (start == std::string::npos)
        return "";
    size_t end = text.find(until, start + from.size());
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The binding table is the one place that names the keys: --help and the manual page list every one.
TEST(CommandLine, HelpAndTheManualPageNameEveryKeyOfTheBindingTable) {
    std::string folder = temp_folder();
    std::string path = folder + "/help";
    FILE*       out = fopen(path.c_str(), "wb");   // no CR before each newline on Windows
    ASSERT_TRUE(out);
    options_t options{};
    options.launch = LAUNCH_HELP;
    EXPECT_EQ(answer_options(options, out, stderr), 0);
    fclose(out);
    std::string help = section(read_text_file(path), "Keys:\n", "\n\n");
    std::string manual = section(read_text_file(QUOVIX_SOURCE_DIR "/packaging/quovix.6.in"), ".SH KEYS", ".SH ");
    for (const char* font : {"\\fR", "\\fB"})
        for (size_t at; (at = manual.find(font)) != std::string::npos;)
            manual.erase(at, 3);
    int keys = 0;
    for (int i = 0; i < binding_count; i++) {
        const binding_t& b = bindings[i];
        if (b.device == DEVICE_PAD)
            continue;
        keys++;
        // a key's name stands alone: "s" is not found inside "steer"
        for (const std::string& text : {help, manual}) {
            bool named = false;
            for (const std::string& line : lines_of(text)) {
                std::string keys_part =
                    line.rfind(".B ", 0) == 0 ? line.substr(3) : line.substr(0, line.find("   ", 2));
                for (size_t at = 0; (at = keys_part.find(b.name, at)) != std::string::npos; at++) {
                    size_t after = at + strlen(b.name);
                    bool   starts = at == 0 || keys_part[at - 1] == ' ';
                    bool   ends = after == keys_part.size() || keys_part[after] == ',';
                    named = named || (starts && ends);
                }
            }
            EXPECT_TRUE(named) << b.name << " in\n" << text;
        }
    }
    EXPECT_GE(keys, 9);
}

// Whether the binding table gives the button a key of this name, in capitals.
static bool key_of(button_t button, const std::string& name) {
    for (int i = 0; i < binding_count; i++) {
        std::string bound = bindings[i].name;
        std::transform(bound.begin(), bound.end(), bound.begin(), ::toupper);
        if (bindings[i].device != DEVICE_PAD && bindings[i].button == button && bound == name)
            return true;
    }
    return false;
}

// The pause screen's hint names the keys the binding table gives the pause and back buttons.
TEST(CommandLine, ThePauseScreensHintNamesKeysOfTheBindingTable) {
    const std::string hint = PAUSED_HINT;
    EXPECT_TRUE(key_of(BUTTON_PAUSE, hint.substr(6, hint.find(" KEY TO CONTINUE") - 6))) << hint;
    size_t back = hint.find(", ") + 2;
    EXPECT_TRUE(key_of(BUTTON_BACK, hint.substr(back, hint.find(" KEY TO EXIT") - back))) << hint;
}

// The menu's lines of keys and the sound's note name, for each thing, keys the table binds to it.
TEST(CommandLine, TheMenusLineAndTheSoundNoteNameKeysOfTheBindingTable) {
    const struct {
        int                   row;
        const char*           does;
        std::vector<button_t> buttons;   // the keys named in turn, " / " between them
    } words[] = {
        {0, "STEER", {BUTTON_LEFT, BUTTON_RIGHT}},
        {0, "JUMP", {BUTTON_JUMP}},
        {0, "PAUSE", {BUTTON_PAUSE}},
        {0, "SOUND", {BUTTON_MUTE}},
        {0, "RECORDS AND REPLAYS", {BUTTON_RECORDS}},
        {0, "GHOST", {BUTTON_GHOST}},
        {1, "WORLDS", {BUTTON_WORLDS}},
        {1, "SETTINGS", {BUTTON_SETTINGS}},
        {1, "FULL SCREEN OR WINDOW", {BUTTON_WINDOW}},
    };
    for (int row = 0; row < MENU_KEY_LINES; row++) {
        std::string line = menu_keys_line(row);
        size_t      at = 0;
        for (const auto& w : words) {
            if (w.row != row)
                continue;
            size_t end = line.find(std::string(" ") + w.does, at);
            ASSERT_NE(end, std::string::npos) << w.does << " in " << line;
            std::string keys = line.substr(at, end - at) + " / ";
            for (button_t button : w.buttons) {
                size_t cut = keys.find(" / ");
                EXPECT_TRUE(key_of(button, keys.substr(0, cut))) << w.does << ": " << keys;
                keys.erase(0, cut + 3);
            }
            at = line.find_first_not_of(' ', end + strlen(w.does) + 1);
            at = at == std::string::npos ? line.size() : at;
        }
        EXPECT_EQ(at, line.size()) << line;
    }
    std::string off = sound_off_line(), key = off.substr(11, off.find(" TURNS") - 11);
    EXPECT_TRUE(key_of(BUTTON_MUTE, key)) << off;
}
