// The sound's parts without a device: the mixer, the WAV files, the generator's
// sounds and the m key.
#include <cstdlib>
#include <set>

#include "gameplay_support.h"
#include "platform/bytes.h"
#include "sound/load.h"
#include "sound/mixer.h"
#include "sound/sounds.h"
#include "sound/wav.h"

static std::vector<int16_t> mixed(sound_mixer_t* mixer, int count) {
    std::vector<int16_t> out(count);
    mixer_mix(mixer, out.data(), count);
    return out;
}

TEST(Sound, VoicesAddUpHeldWithin16BitsAndANinthTakesTheVoicePlayingLongest) {
    sound_clip_t  loud(100, 30000), soft(50, 1000), quiet(10, -7);
    sound_mixer_t mixer{};
    mixer_play(&mixer, &soft);
    mixer_play(&mixer, &quiet);
    std::vector<int16_t> out = mixed(&mixer, 60);
    EXPECT_EQ(out[0], 993);
    EXPECT_EQ(out[10], 1000);   // the quiet one over, its voice free again
    EXPECT_EQ(out[50], 0);
    mixer_play(&mixer, &loud);
    mixer_play(&mixer, &loud);
    EXPECT_EQ(mixed(&mixer, 1)[0], INT16_MAX);
    for (int i = 0; i < SOUND_VOICES; i++)
        mixer_play(&mixer, &soft);
    // eight voices busy: the two loud ones, furthest along, gave theirs up first
    EXPECT_EQ(mixed(&mixer, 1)[0], 8 * 1000);
    mixer_stop_all(&mixer);
    EXPECT_EQ(mixed(&mixer, 1)[0], 0);
    sound_clip_t low(10, -30000);
    mixer_play(&mixer, &low);
    mixer_play(&mixer, &low);
    EXPECT_EQ(mixed(&mixer, 1)[0], INT16_MIN);
}

TEST(Sound, TheEngineFadesInLoopsAndFadesOut) {
    sound_clip_t  hum(3, 10000);
    sound_mixer_t mixer{};
    mixer.engine = &hum;
    EXPECT_EQ(mixed(&mixer, 100), std::vector<int16_t>(100, 0));
    mixer.engine_on = true;
    std::vector<int16_t> in = mixed(&mixer, ENGINE_FADE_SAMPLES + 10);
    EXPECT_GT(in[0], 0);
    EXPECT_LT(in[0], 10);
    EXPECT_LT(in[ENGINE_FADE_SAMPLES / 2], in[ENGINE_FADE_SAMPLES - 1]);
    EXPECT_EQ(in[ENGINE_FADE_SAMPLES + 9], 10000);
    mixer.engine_on = false;
    std::vector<int16_t> out = mixed(&mixer, ENGINE_FADE_SAMPLES + 10);
    EXPECT_LT(out[ENGINE_FADE_SAMPLES / 2], out[0]);
    EXPECT_EQ(out[ENGINE_FADE_SAMPLES + 9], 0);
    // muted: everything stops, and the hum does not fade back in by itself
    mixer.engine_on = true;
    mixed(&mixer, ENGINE_FADE_SAMPLES);
    mixer_stop_all(&mixer);
    EXPECT_EQ(mixed(&mixer, ENGINE_FADE_SAMPLES), std::vector<int16_t>(ENGINE_FADE_SAMPLES, 0));
}

// The settings' volumes: each side scaled on its own, in tenths, 0 silent.
TEST(Sound, TheEffectsAndTheEngineEachFollowTheirOwnVolume) {
    sound_clip_t hum(ENGINE_FADE_SAMPLES * 2, 10000), star(10, 8000);
    const struct {
        int     effects, engine;
        int16_t sum;
    } cases[] = {{10, 10, 18000}, {5, 10, 14000}, {10, 5, 13000}, {0, 10, 10000}, {10, 0, 8000}, {0, 0, 0}};
    for (const auto& c : cases) {
        sound_mixer_t mixer{};
        mixer.engine = &hum;
        mixer.engine_on = true;
        mixer.effects_volume = c.effects;
        mixer.engine_volume = c.engine;
        mixed(&mixer, ENGINE_FADE_SAMPLES);
        mixer_play(&mixer, &star);
        EXPECT_EQ(mixed(&mixer, 1)[0], c.sum) << c.effects << " " << c.engine;
    }
}

TEST(Sound, OnlyTheGamesOwnKindOfWavIsRead) {
    std::vector<int16_t> samples = {0, 1, -1, 32767, -32768}, read;
    std::string          good = wav_bytes(samples), why;
    // the RIFF size counts what follows its own field
    EXPECT_EQ(read_le32((const uint8_t*)good.data() + 4), good.size() - 8);
    auto changed = [&](size_t at, const std::string& with) { return std::string(good).replace(at, with.size(), with); };
    // a chunk of odd size before the samples, padded to an even size as the format has it
    std::string odd_chunk = std::string(good).insert(36, std::string("note\3\0\0\0abc\0", 12));
    for (const std::string& bytes : {good, odd_chunk}) {
        ASSERT_TRUE(wav_read(bytes, &read, &why)) << why;
        EXPECT_EQ(read, samples);
    }
    // a format chunk of 14 bytes: the bits a sample left out
    std::string short_format = changed(16, std::string("\x0e", 1)).erase(34, 2);
    struct {
        std::string bytes;
        const char* why;
    } bad[] = {
        {"", "is not a WAV file"},
        {changed(8, "AVI "), "is not a WAV file"},
        {good.substr(0, good.size() - 1), "is cut short"},
        {good.substr(0, 36), "has no samples"},
        {changed(12, "junk"), "has no format chunk"},
        {changed(22, std::string("\2", 1)), "is not 16-bit mono PCM at 22050 Hz"},         // stereo
        {changed(24, std::string("\x44\xac", 2)), "is not 16-bit mono PCM at 22050 Hz"},   // 44100 Hz
        {changed(34, std::string("\x08", 1)), "is not 16-bit mono PCM at 22050 Hz"},       // 8-bit
        {short_format, "has a short format chunk"},
    };
    for (const auto& b : bad) {
        why.clear();
        EXPECT_FALSE(wav_read(b.bytes, &read, &why)) << b.why;
        EXPECT_EQ(why, b.why);
    }
}

TEST(Sound, AMissingSoundIsQuietlySilentABadOneSaysSoOnce) {
    std::string  folder = temp_folder();
    sound_clip_t clip(5, 1);
    testing::internal::CaptureStderr();
    load_sound((folder + "/none.wav").c_str(), &clip);
    EXPECT_TRUE(clip.empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    write_text_file(folder + "/bad.wav", "RIFF....WAVEdata");
    testing::internal::CaptureStderr();
    load_sound((folder + "/bad.wav").c_str(), &clip);
    EXPECT_TRUE(clip.empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quovix: " + folder + "/bad.wav has no format chunk: that sound stays silent\n");
}

// The events' names and sounds are tables keyed by the event: each event finds its row in
// both, and no two share a name or a file, so a record and an ear tell them apart.
TEST(Sound, EveryEventHasANameAndASoundOfItsOwn) {
    std::set<std::string> names, files;
    for (int e = 0; e < EV_COUNT; e++) {
        std::string name = event_name((game_event_t)e);
        const char* file = sound_file((game_event_t)e);
        EXPECT_NE(name, "?") << e;
        EXPECT_TRUE(names.insert(name).second) << name;
        ASSERT_NE(file, nullptr) << name;
        EXPECT_TRUE(files.insert(file).second) << file;
    }
    EXPECT_STREQ(event_name(EV_COUNT), "?");
    EXPECT_EQ(sound_file(EV_COUNT), nullptr);
}

// Every event with a sound has a short, audible one that does not clip, and the
// generator makes the same bytes each time it runs.
TEST(Sound, TheGeneratorsSoundsAreShortAudibleAndTheSameEveryBuild) {
    std::string again = temp_folder();
    ASSERT_EQ(system((std::string(QUOVIX_TOOLS_DIR) + "/quovix-gen-sounds " + again).c_str()), 0);
    std::string built = std::string(QUOVIX_RESOURCES_DIR) + "/sounds/";
    for (int e = 0; e <= EV_COUNT; e++) {
        const char* name = e == EV_COUNT ? ENGINE_SOUND : sound_file((game_event_t)e);
        ASSERT_NE(name, nullptr) << event_name((game_event_t)e);
        std::string bytes = read_text_file(built + name), why;
        EXPECT_EQ(read_text_file(again + "/" + name), bytes) << name;
        sound_clip_t clip;
        ASSERT_TRUE(wav_read(bytes, &clip, &why)) << name << " " << why;
        int peak = 0;
        for (int16_t s : clip)
            peak = std::max(peak, std::abs((int)s));
        int ms = (int)(clip.size() * 1000 / SOUND_RATE);
        EXPECT_GE(ms, e == EV_COUNT ? 1000 : 50) << name;
        EXPECT_LE(ms, 1000) << name;
        EXPECT_GT(peak, e == EV_COUNT ? 1000 : 4000) << name;
        EXPECT_LT(peak, e == EV_COUNT ? 4000 : 32767) << name;
    }
}

using Mute = Gameplay;

static bool game_over() { return game.flow.game_over == 1; }

static void press_m() {
    sim_key('m', true);
    sim_frame_as_typed();
    sim_key('m', false);
    sim_frame_as_typed();
}

// m silences whatever the screen, and the game plays the same with it as without.
TEST_F(Mute, MTogglesOnItsPressAndPlayGoesOnTheSame) {
    ASSERT_TRUE(start_play({wide_level('#')}));
    sim_snapshot_t start;
    sim_save(&start);
    run_frames(40, HOLD_D);
    sim_state_t unmuted = sim_state();
    sim_restore(start);
    sim_key('d', true);
    for (int i = 0; i < 40; i++) {
        // pressed on one frame, held over the next, let go on the third
        if (i % 3 == 0)
            sim_key('m', true);
        if (i % 3 == 2)
            sim_key('m', false);
        sim_frame_as_typed();
        EXPECT_EQ(game.muted, (i / 3) % 2 == 0) << i;
    }
    sim_key('d', false);
    sim_state_t muted = sim_state();
    EXPECT_EQ(muted.frame, unmuted.frame);
    EXPECT_EQ(std::vector<float>({muted.x, muted.y, muted.z}), std::vector<float>({unmuted.x, unmuted.y, unmuted.z}));
    EXPECT_EQ(muted.tile, unmuted.tile);
    sim_key('m', false);
    sim_frame(HOLD_P);
    ASSERT_EQ(game.flow.paused, 1);
    press_m();
    EXPECT_EQ(game.muted, 1) << "m works while paused";
}

TEST_F(Mute, PlayAgainFromTheSummaryKeepsTheSoundOff) {
    ASSERT_TRUE(start_play({plain_level({{4, ".#*###."}, {12, "......."}})}));
    press_m();
    ASSERT_GT(run_until(game_over, 3000), 0);
    sim_frame(0);
    sim_key('\r', true);
    ASSERT_TRUE(sim_frame_as_typed());
    ASSERT_EQ(game.flow.game_over, 0);
    EXPECT_EQ(game.muted, 1);
}
