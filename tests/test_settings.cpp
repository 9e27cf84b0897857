// The player's settings: the file's rows both ways, a file the game did not write set
// aside whole, keys bound by swapping so none is lost, and the screen over the menu and
// the pause screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "app/bindings.h"
#include "app/setting_rows.h"
#include "app/settings.h"
#include "game/command.h"
#include "game/input.h"
#include "game/screen.h"
#include "game/state.h"
#include "render/render.h"
#include "support.h"

namespace fs = std::filesystem;

namespace {

const char HEAD[] = "quovix settings 1\n";

// The row of the table that binds `button` first among the rows the settings may change.
int key_index_of(button_t button) {
    std::vector<int> rows = changeable_binding_rows();
    for (size_t i = 0; i < rows.size(); i++)
        if (bindings[rows[i]].button == button)
            return (int)i;
    return -1;
}

// Each test in a play folder of its own, where the settings' file is written.
struct PlayerSettings : testing::Test {
    std::string was;
    void        SetUp() override {
        was = fs::current_path().string();
        std::string folder = temp_folder();
        fs::create_directories(folder + "/bin");
        ASSERT_EQ(chdir((folder + "/bin").c_str()), 0);
        reset();
    }
    void TearDown() override {
        reset();
        EXPECT_EQ(chdir(was.c_str()), 0);
    }
    // A frame of the settings screen with these buttons pressed, and what the app does after it.
    static void frame(buttons_t pressed) {
        game.cmd = command_t{};
        game.cmd.focused = true;
        game.cmd.speed_scale = 1;
        game.cmd.held = game.cmd.pressed = pressed;
        input_step();
        list_settings_when_asked();
        change_setting_when_asked();
    }
    static void reset() {
        settings = settings_defaults();
        settings_apply_keys();
    }
};

TEST_F(PlayerSettings, TheFilesRowsReadBackAndRowsLeftOutKeepTheirDefaults) {
    settings_t s = settings_defaults();
    s.ghost_shown = false;
    s.effects_volume = 0;
    s.engine_volume = 7;
    s.full_screen = false;
    s.large_text = true;
    std::swap(s.keys[key_index_of(BUTTON_JUMP)], s.keys[key_index_of(BUTTON_PAUSE)]);
    settings_t  back, defaults = settings_defaults();
    std::string why;
    ASSERT_TRUE(settings_from_text(settings_to_text(s), &back, &why)) << why << "\n" << settings_to_text(s);
    EXPECT_EQ(settings_to_text(back), settings_to_text(s));
    EXPECT_NE(settings_to_text(s).find("key jump p\n"), std::string::npos) << settings_to_text(s);
    // an earlier game's file held the ghost alone; Windows line ends read as well
    ASSERT_TRUE(settings_from_text("quovix settings 1\r\nghost off\r\n", &back, &why)) << why;
    EXPECT_FALSE(back.ghost_shown);
    back.ghost_shown = true;
    EXPECT_EQ(settings_to_text(back), settings_to_text(defaults));
}

// Every way a file can be one the game did not write: refused whole, with its reason.
TEST_F(PlayerSettings, AFileTheGameDidNotWriteIsRefusedWithItsReason) {
    const struct {
        std::string text;
        const char* says;
    } cases[] = {
        {"", "empty"},
        {"ghost off\n", "not a settings file"},
        {"quovix settings x\n", "not a settings file"},
        {"quovix settings 2\nghost off\n", "another version (2)"},
        {std::string(HEAD) + "volume 3\n", "line 2: not a setting"},
        {std::string(HEAD) + "effects volume 11\n", "line 2"},
        {std::string(HEAD) + "engine volume -1\n", "line 2"},
        {std::string(HEAD) + "full screen maybe\n", "line 2"},
        {std::string(HEAD) + "key jump nokey\n", "no key is named nokey"},
        {std::string(HEAD) + "key fly x\n", "no button is named fly"},
        {std::string(HEAD) + "key jump a\n", "a is bound twice"},
        {std::string(HEAD) + "key jump x\nkey pause x\n", "x is bound twice"},
        {std::string(HEAD) + "key jump enter\n", "Enter cannot be bound"},
        {std::string(HEAD) + "key pause esc\n", "Esc cannot be bound"},
        {std::string(HEAD) + "key left q\n", "too few keys for left"},
        {std::string(HEAD) + "key jump x\nkey jump y\n", "too many keys for jump"},
        {std::string(HEAD) + std::string(3, '\0'), "line 2"},
        {"quovix settings 1234567890\n", "not a settings file"},
        {std::string(HEAD) + "effects volume 99999999999999999999\n", "line 2"},
        {std::string(HEAD) + "key jump A\n", "no key is named A"},
    };
    for (const auto& c : cases) {
        settings_t  s = settings_defaults();
        std::string why;
        s.effects_volume = 3;
        EXPECT_FALSE(settings_from_text(c.text, &s, &why)) << c.says;
        EXPECT_NE(why.find(c.says), std::string::npos) << c.says << ": " << why;
        EXPECT_EQ(s.effects_volume, 3) << "a refused file changed the settings: " << c.says;
    }
}

// A file from before the worlds' key that gave l to another button keeps its keys: the worlds
// take a letter nobody holds.
TEST_F(PlayerSettings, AFileFromBeforeTheWorldsKeyKeepsItsKeysAndTheWorldsTakeAFreeOne) {
    settings_t  s = settings_defaults();
    std::string why, old = settings_to_text(s);
    old.erase(old.find("key worlds l\n"), 13);
    old.replace(old.find("key jump space\n"), 15, "key jump l\n");
    ASSERT_TRUE(settings_from_text(old, &s, &why)) << why;
    EXPECT_EQ(s.keys[key_index_of(BUTTON_JUMP)].code, 'l');
    EXPECT_EQ(s.keys[key_index_of(BUTTON_WORLDS)].code, 'b');
    ASSERT_TRUE(settings_from_text(settings_to_text(s), &s, &why)) << why;
}

// A key already bound moves to the row the new key leaves: every button keeps a key.
TEST_F(PlayerSettings, ANewKeySwapsWithTheRowThatHadItAndEnterAndEscStay) {
    int         jump = key_index_of(BUTTON_JUMP), left = key_index_of(BUTTON_LEFT);
    std::string why;
    ASSERT_TRUE(settings_bind(jump, {DEVICE_KEY, 'a'}, &why)) << why;
    EXPECT_EQ(settings.keys[jump].code, 'a');
    EXPECT_EQ(settings.keys[left].code, ' ') << "the steering lost its key";
    EXPECT_STREQ(bindings[changeable_binding_rows()[left]].name, "space");
    // the keyboard follows the table: a now jumps, space steers
    game = game_at_start;
    key_down('a', 0, 0);
    EXPECT_TRUE(game.buttons.held[BUTTON_JUMP]);
    EXPECT_FALSE(game.buttons.held[BUTTON_LEFT]);
    key_up('a', 0, 0);
    EXPECT_NE(menu_keys_line(0).find("A JUMP"), std::string::npos) << menu_keys_line(0);
    for (int reserved : {(int)'\r', 27}) {
        EXPECT_FALSE(settings_bind(jump, {DEVICE_KEY, reserved}, &why));
        EXPECT_EQ(settings.keys[jump].code, 'a');
    }
    EXPECT_FALSE(settings_bind(jump, {DEVICE_KEY, 200}, &why)) << "a key without a name was bound";
    // the same key again changes nothing; a special key is taken as well
    ASSERT_TRUE(settings_bind(jump, {DEVICE_KEY, 'a'}, &why));
    ASSERT_TRUE(settings_bind(jump, {DEVICE_SPECIAL_KEY, 5 /* F5 */}, &why)) << why;
    EXPECT_NE(settings_to_text(settings).find("key jump F5\n"), std::string::npos) << settings_to_text(settings);
    std::vector<key_choice_t> keys = settings.keys;
    for (size_t i = 0; i < keys.size(); i++)
        for (size_t j = i + 1; j < keys.size(); j++)
            EXPECT_FALSE(keys[i].device == keys[j].device && keys[i].code == keys[j].code) << i << " " << j;
}

// The file at start-up: none is the defaults, quietly; one the game did not write is set aside
// with one line and never written over; one it cannot set aside is left as it is.
TEST_F(PlayerSettings, ADamagedOrLaterFileIsSetAsideAndTheDefaultsPlay) {
    const struct {
        const char* what;
        std::string text;   // empty: no file
        bool        aside;
    } cases[] = {
        {"missing", "", false},
        {"damaged", "quovix settings 1\nghost sideways\n", true},
        {"later version", "quovix settings 9\nteleport on\n", true},
        {"good", "quovix settings 1\neffects volume 4\n", false},
    };
    for (const auto& c : cases) {
        std::string folder = temp_folder();
        fs::create_directories(folder + "/bin");
        ASSERT_EQ(chdir((folder + "/bin").c_str()), 0);
        if (!c.text.empty())
            write_text_file(folder + "/settings.txt", c.text);
        settings.effects_volume = 9;
        testing::internal::CaptureStderr();
        settings_load();
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(settings.effects_volume, c.text.rfind("quovix settings 1\neffects", 0) == 0 ? 4 : 10) << c.what;
        EXPECT_EQ(fs::exists(folder + "/settings.txt.damaged"), c.aside) << c.what;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.aside ? 1 : 0) << c.what << ": " << said;
        if (c.aside) {
            EXPECT_EQ(read_text_file(folder + "/settings.txt.damaged"), c.text) << c.what;
            EXPECT_NE(said.find("settings.txt"), std::string::npos) << said;
        }
        settings_save();
        EXPECT_EQ(read_text_file(folder + "/settings.txt"), settings_to_text(settings)) << c.what;
    }
}

// The screen over the menu and over the pause screen: o opens it, the rows it lists are
// chosen and changed, Esc goes back to where it was opened and never leaves the game.
TEST_F(PlayerSettings, TheScreenOpensOverTheMenuAndThePauseAndEscGoesBack) {
    game = game_at_start;
    frame(button_bit(BUTTON_SETTINGS));
    ASSERT_EQ(game_screen(), SCREEN_SETTINGS);
    int rows = game.flow.settings_rows;
    EXPECT_EQ(rows, (int)changeable_binding_rows().size() + 5);
    // down to the effects volume, turned down twice and up once
    for (int i = 0; i < (int)changeable_binding_rows().size(); i++)
        frame(button_bit(BUTTON_MENU_DOWN));
    frame(button_bit(BUTTON_LEFT));
    frame(button_bit(BUTTON_LEFT));
    frame(button_bit(BUTTON_RIGHT));
    EXPECT_EQ(settings.effects_volume, 9);
    // the ends hold under a/d, and Enter goes round
    const struct {
        int       from;
        buttons_t pressed;
        int       to;
    } steps[] = {{10, button_bit(BUTTON_RIGHT), 10},
                 {0, button_bit(BUTTON_LEFT), 0},
                 {10, button_bit(BUTTON_CONFIRM), 0},
                 {3, button_bit(BUTTON_CONFIRM), 4}};
    for (const auto& s : steps) {
        settings.effects_volume = s.from;
        frame(s.pressed);
        EXPECT_EQ(settings.effects_volume, s.to) << s.from;
    }
    settings.effects_volume = 9;
    // down past the last row stays on it: restore the defaults
    for (int i = 0; i < rows; i++)
        frame(button_bit(BUTTON_MENU_DOWN));
    EXPECT_EQ(game.flow.settings_selection, rows - 1);
    frame(button_bit(BUTTON_CONFIRM));
    EXPECT_EQ(settings.effects_volume, 10);
    frame(button_bit(BUTTON_BACK));
    EXPECT_EQ(game_screen(), SCREEN_MENU);
    EXPECT_FALSE(game.requests.exit) << "Esc on the settings left the game";
    // from the pause screen, and back to it
    game.flow.game_started = 1;
    game.flow.paused = 1;
    frame(button_bit(BUTTON_SETTINGS));
    EXPECT_EQ(game_screen(), SCREEN_SETTINGS);
    frame(button_bit(BUTTON_PAUSE));
    EXPECT_EQ(game_screen(), SCREEN_SETTINGS) << "p went past the settings";
    frame(button_bit(BUTTON_CANCEL));
    EXPECT_EQ(game_screen(), SCREEN_PAUSED);
    EXPECT_FALSE(game.requests.exit);
    // not from play itself
    game.flow.paused = 0;
    frame(button_bit(BUTTON_SETTINGS));
    EXPECT_NE(game_screen(), SCREEN_SETTINGS);
}

// Enter on a key row waits for the next key pressed, which the buttons never see; Esc keeps the row's key.
TEST_F(PlayerSettings, AKeyRowTakesTheNextKeyPressedAndEscKeepsItsKey) {
    game = game_at_start;
    int jump = key_index_of(BUTTON_JUMP);
    frame(button_bit(BUTTON_SETTINGS));
    for (int i = 0; i < jump; i++)
        frame(button_bit(BUTTON_MENU_DOWN));
    frame(button_bit(BUTTON_CONFIRM));
    key_down('j', 0, 0);
    key_up('j', 0, 0);
    EXPECT_EQ(settings.keys[jump].code, 'j');
    frame(button_bit(BUTTON_CONFIRM));
    key_down(27, 0, 0);
    EXPECT_FALSE(game.buttons.held[BUTTON_BACK]) << "the Esc that kept the key reached the buttons";
    key_up(27, 0, 0);
    EXPECT_EQ(settings.keys[jump].code, 'j');
    frame(button_bit(BUTTON_CONFIRM));
    key_down('\r', 0, 0);
    EXPECT_EQ(settings.keys[jump].code, 'j');
    EXPECT_NE(records_view.setting_note.find("ENTER"), std::string::npos) << records_view.setting_note;
    key_up('\r', 0, 0);
    // a controller's B leaves while a key is asked for: the next key is a button again
    frame(button_bit(BUTTON_CONFIRM));
    frame(button_bit(BUTTON_CANCEL));
    key_down('j', 0, 0);
    EXPECT_TRUE(game.buttons.held[BUTTON_JUMP]) << "a key pressed after the settings closed was taken for them";
    key_up('j', 0, 0);
}

}   // namespace

// Alt+Enter is the window's button, never the menu's confirm, and letting go of Enter
// first or of Alt first both let go of it; F11 holds the same button.
TEST_F(PlayerSettings, AltEnterAndF11HoldTheWindowsButtonAndEnterLetsGoOfIt) {
    game = game_at_start;
    EXPECT_TRUE(alt_key_down('\r'));
    EXPECT_TRUE(game.buttons.held[BUTTON_WINDOW]);
    EXPECT_FALSE(game.buttons.held[BUTTON_CONFIRM]);
    // a tap: let go of once a frame has seen it
    key_up('\r', 0, 0);
    EXPECT_TRUE(game.buttons.release_after[BUTTON_WINDOW]) << "Enter let go of under no Alt kept the window's button";
    EXPECT_FALSE(alt_key_down('a')) << "Alt+a is no binding of Alt's";
    key_up('a', 0, 0);
    special_down(11 /* F11 */, 0, 0);
    EXPECT_TRUE(game.buttons.held[BUTTON_WINDOW]);
    special_up(11, 0, 0);
    EXPECT_TRUE(game.buttons.release_after[BUTTON_WINDOW] & SOURCE_SPECIAL_KEYS);
}
