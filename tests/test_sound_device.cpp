// SDL's real audio, written to a file by its disk driver: silence until an
// event, the event's sound soon after it, nothing at all when muted. The driver
// writes in real time, so each run lasts well under a second.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>

#include "game/screen.h"
#include "game/state.h"
#include "sound/load.h"
#include "sound/sound.h"
#include "sound/sounds.h"
#include "support.h"

namespace {

const std::string SOUNDS = std::string(QUOVIX_RESOURCES_DIR) + "/sounds";

struct SoundDevice : testing::Test {
    std::string written;   // the disk driver's file

    void SetUp() override {
        written = temp_folder() + "/audio.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", written.c_str(), 1);
        game = game_at_start;
    }
    void TearDown() override { sound_close(); }

    size_t samples_written() {
        struct stat st;
        return stat(written.c_str(), &st) == 0 ? (size_t)st.st_size / 2 : 0;
    }
    // The driver's file grows as it plays: waits until it holds count samples.
    bool wait_for_samples(size_t count) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (samples_written() < count) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
    std::vector<int16_t> samples() {
        std::string          bytes = read_text_file(written);
        std::vector<int16_t> out(bytes.size() / 2);
        memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }
    // Plays a frame raising event once the device has played a while; the sample it came at.
    size_t play_event_after_a_while(game_event_t event, size_t length) {
        // the device opens on a thread of its own: the last run's file must not count as this one's
        std::remove(written.c_str());
        sound_open(SOUNDS.c_str());
        EXPECT_TRUE(wait_for_samples(SOUND_RATE / 5));
        size_t at = samples_written();
        raise_event(event);
        sound_frame(game.events, game.muted, engine_heard());
        clear_events();
        sound_frame(game.events, game.muted, engine_heard());
        EXPECT_TRUE(wait_for_samples(at + length + SOUND_RATE / 4));
        sound_close();
        return at;
    }
};

size_t first_sound(const std::vector<int16_t>& samples, size_t from = 0) {
    while (from < samples.size() && samples[from] == 0)
        from++;
    return from;
}

}   // namespace

TEST_F(SoundDevice, AStarIsHeardSoonAfterItsFrameAndNotBefore) {
    sound_clip_t star;
    load_sound((SOUNDS + "/" + sound_file(EV_STAR)).c_str(), &star);
    ASSERT_FALSE(star.empty());
    size_t               at = play_event_after_a_while(EV_STAR, star.size());
    std::vector<int16_t> heard = samples();
    size_t               heard_from = first_sound(heard), star_from = first_sound(star);
    ASSERT_GE(heard_from, at) << "sound before the event";
    // within a quarter second: the device's buffer and the file's own buffering
    ASSERT_LT(heard_from - at, (size_t)SOUND_RATE / 4);
    // the star's own samples, whole, then silence again
    size_t start = heard_from - star_from;
    ASSERT_LE(start + star.size(), heard.size());
    EXPECT_TRUE(std::equal(star.begin(), star.end(), heard.begin() + start));
    EXPECT_EQ(first_sound(heard, start + star.size()), heard.size());
}

// The first and the last of the events are heard as every other is.
TEST_F(SoundDevice, TheFirstAndTheLastEventAreHeard) {
    for (game_event_t event : {(game_event_t)0, (game_event_t)(EV_COUNT - 1)}) {
        game = game_at_start;
        size_t               at = play_event_after_a_while(event, SOUND_RATE / 2);
        std::vector<int16_t> heard = samples();
        EXPECT_LT(first_sound(heard, at), heard.size()) << event_name(event);
    }
}

TEST_F(SoundDevice, AMutedGameWritesOnlySilence) {
    game.muted = 1;
    play_event_after_a_while(EV_STAR, SOUND_RATE / 2);
    std::vector<int16_t> heard = samples();
    EXPECT_GT(heard.size(), (size_t)SOUND_RATE / 2);
    EXPECT_EQ(first_sound(heard), heard.size());
}

TEST_F(SoundDevice, NoDeviceIsOneLineAndASilentGame) {
    // ALSA with a configuration that holds no device at all, as on a machine without a card
    std::string alsa_config = temp_folder() + "/asound.conf";
    write_text_file(alsa_config, "");
    struct {
        const char* driver;
        const char* alsa_config;
    } cases[] = {{"none-such", nullptr}, {"alsa", alsa_config.c_str()}};
    for (const auto& c : cases) {
        setenv("SDL_AUDIODRIVER", c.driver, 1);
        if (c.alsa_config)
            setenv("ALSA_CONFIG_PATH", c.alsa_config, 1);
        testing::internal::CaptureStderr();
        sound_open(SOUNDS.c_str());
        raise_event(EV_STAR);
        sound_frame(game.events, game.muted, engine_heard());
        // the open's own thread says it: closing waits for it
        sound_close();
        std::string said = testing::internal::GetCapturedStderr();
        unsetenv("ALSA_CONFIG_PATH");
        EXPECT_EQ(said.rfind("quovix: no sound: ", 0), 0u) << c.driver << "\n" << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.driver << "\n" << said;
        EXPECT_FALSE(file_exists(written)) << c.driver;
    }
}
