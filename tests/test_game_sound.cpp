// The real game's sound under X, written by SDL's disk driver: nothing on the
// menu before a key, sound in play, none once m is pressed or with --mute.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "e2e_support.h"
#include "sound/sounds.h"
#include "support.h"

namespace {

struct GameSound : testing::Test {
    game_run_t  run;
    std::string written;

    void SetUp() override {
        if (!have_display())
            GTEST_SKIP() << "no X display";
    }
    void TearDown() override { kill_game(&run); }
    void start(const std::vector<std::string>& args) {
        std::string bin = make_play_folder({wide_level_all_floor()});
        written = bin + "/audio.raw";
        run.args = args;
        // held to sixty frames a second, so a level lasts while the file is read
        run.env = {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + written, "QUOVIX_FRAME_PACE="};
        ASSERT_TRUE(launch_game(&run, bin));
        ASSERT_TRUE(wait_for_window(&run)) << game_output(run);
    }
    static std::string wide_level_all_floor() { return plain_level(rows_of(0, 239, "#######")); }

    size_t samples_written() {
        struct stat st;
        return stat(written.c_str(), &st) == 0 ? (size_t)st.st_size / 2 : 0;
    }
    // The file grows as the device plays: waits until it holds `more` samples past now.
    size_t wait_for_more(size_t more) {
        size_t want = samples_written() + more;
        for (int i = 0; i < 400 && samples_written() < want; i++)
            sleep_ms(25);
        EXPECT_GE(samples_written(), want);
        return samples_written();
    }
    // The loudest sample from one point of the file to another.
    int peak(size_t from, size_t to) {
        std::string bytes = read_text_file(written);
        int         loudest = 0;
        for (size_t i = from; i < to && 2 * i + 1 < bytes.size(); i++) {
            int16_t s = (int16_t)((uint8_t)bytes[2 * i] | (uint8_t)bytes[2 * i + 1] << 8);
            loudest = std::max(loudest, std::abs((int)s));
        }
        return loudest;
    }
};

}   // namespace

TEST_F(GameSound, SilentOnTheMenuHeardInPlayAndMTurnsItOffAndOn) {
    start({});
    size_t menu_end = wait_for_more(SOUND_RATE / 2);
    EXPECT_EQ(peak(0, menu_end), 0) << "sound before any event";
    press_key("w");
    press_key("Return");
    size_t play_end = wait_for_more(SOUND_RATE);
    EXPECT_GT(peak(menu_end, play_end), 500) << "no sound in play";
    press_key("m");
    // past the device's buffers and the fade
    size_t off_from = wait_for_more(SOUND_RATE / 2);
    size_t off_end = wait_for_more(SOUND_RATE / 2);
    EXPECT_EQ(peak(off_from, off_end), 0) << "sound after m";
    press_key("m");
    wait_for_more(SOUND_RATE / 4);
    size_t on_end = wait_for_more(SOUND_RATE / 2);
    EXPECT_GT(peak(on_end - SOUND_RATE / 2, on_end), 500) << "no sound after m again";
    press_key("Escape");
    EXPECT_TRUE(wait_for_exit(&run, 10));
    EXPECT_EQ(run.status, 0);
}

TEST_F(GameSound, MuteStartsSilentThroughPlayAndSaysNothingMore) {
    start({"--mute"});
    press_key("w");
    press_key("Return");
    size_t end = wait_for_more(SOUND_RATE);
    EXPECT_EQ(peak(0, end), 0);
    press_key("Escape");
    EXPECT_TRUE(wait_for_exit(&run, 10));
    // the game's own lines only: the sound says nothing on standard output
    std::string out = read_text_file(run.out_path);
    EXPECT_EQ(out.find("sound"), std::string::npos) << out;
    EXPECT_EQ(read_text_file(run.err_path).find("quovix: no sound"), std::string::npos);
}
