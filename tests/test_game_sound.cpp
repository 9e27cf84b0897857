// The real game's sound under X, written by SDL's disk driver: nothing on the
// menu before a key, sound in play, none once m is pressed or with --mute.
#include <gtest/gtest.h>

#include <cmath>
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
    void start(const std::vector<std::string>& args, const std::string& level = wide_level_all_floor()) {
        std::string bin = make_play_folder({level});
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
    std::vector<int16_t> heard() {
        std::string          bytes = read_text_file(written);
        std::vector<int16_t> out(bytes.size() / 2);
        for (size_t i = 0; i < out.size(); i++)
            out[i] = (int16_t)((uint8_t)bytes[2 * i] | (uint8_t)bytes[2 * i + 1] << 8);
        return out;
    }
    // The loudest sample from one point of the file to another.
    int peak(size_t from, size_t to) {
        std::vector<int16_t> samples = heard();
        int                  loudest = 0;
        for (size_t i = from; i < to && i < samples.size(); i++)
            loudest = std::max(loudest, std::abs((int)samples[i]));
        return loudest;
    }
};

// How strong one frequency is over a stretch of samples, as a share of full scale.
double strength_at(const std::vector<int16_t>& samples, size_t from, size_t count, double hz) {
    double w = 2 * M_PI * hz / SOUND_RATE, re = 0, im = 0;
    for (size_t i = 0; i < count && from + i < samples.size(); i++) {
        re += samples[from + i] * cos(w * i);
        im += samples[from + i] * sin(w * i);
    }
    return 2 * std::sqrt(re * re + im * im) / count / 32768;
}

// The first stretch of 50 ms from `from` on in which hz rings at least `share` of full scale.
size_t first_ringing(const std::vector<int16_t>& samples, size_t from, double hz, double share) {
    const size_t STRETCH = SOUND_RATE / 20;
    for (; from + STRETCH <= samples.size(); from += STRETCH / 2)
        if (strength_at(samples, from, STRETCH, hz) > share)
            return from;
    return samples.size();
}

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

// A star on the ship's column a few rows ahead: its chime's high note (E6) rings
// once play has started, and never on the menu before it.
TEST_F(GameSound, AStarTakenInPlayIsHeard) {
    start({}, plain_level({{10, ".#*###."}}));
    size_t menu_end = wait_for_more(SOUND_RATE / 2);
    press_key("w");
    press_key("Return");
    size_t               end = wait_for_more(3 * SOUND_RATE);
    std::vector<int16_t> samples = heard();
    const double         E6 = 1318.5;
    EXPECT_EQ(peak(0, menu_end), 0);
    EXPECT_LT(first_ringing(samples, menu_end, E6, 0.05), end) << "no star heard";
    press_key("Escape");
    EXPECT_TRUE(wait_for_exit(&run, 10));
}
