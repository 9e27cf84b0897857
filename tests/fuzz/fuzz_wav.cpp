// WAV files and the mixer that plays them: a file is read whole or refused, what is
// read is written back the same, and any samples at all, played by several voices
// and the engine at once, add up held within 16 bits.
#include <algorithm>
#include <string>

#include "fuzz_support.h"
#include "sound/mixer.h"
#include "sound/wav.h"

static int16_t held(int32_t v) { return (int16_t)std::min(32767, std::max(-32768, v)); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string          bytes((const char*)data, size), why;
    std::vector<int16_t> samples;
    if (wav_read(bytes, &samples, &why)) {
        FUZZ_CHECK(samples.size() <= size / 2);
        std::vector<int16_t> again;
        FUZZ_CHECK(wav_read(wav_bytes(samples), &again, &why) && again == samples);
    } else {
        FUZZ_CHECK(!why.empty());
        // a file refused is played all the same, as raw samples: every value reaches the mixer
        samples.assign((const int16_t*)data, (const int16_t*)data + size / 2);
    }
    if (samples.empty())
        return 0;
    // the same clip on `voices` voices sums to that many times each sample, held within 16 bits
    int           voices = 1 + (size ? data[0] % SOUND_VOICES : 0);
    sound_mixer_t mixer{};
    for (int v = 0; v < voices; v++)
        mixer_play(&mixer, &samples);
    std::vector<int16_t> out(samples.size() + 7);
    mixer_mix(&mixer, out.data(), (int)out.size());
    for (size_t i = 0; i < out.size(); i++)
        FUZZ_CHECK(out[i] == (i < samples.size() ? held(voices * (int32_t)samples[i]) : 0));
    // the engine looping under a ninth voice, then everything stopped: silence
    mixer.engine = &samples;
    mixer.engine_on = true;
    for (int v = 0; v <= SOUND_VOICES; v++)
        mixer_play(&mixer, &samples);
    mixer_mix(&mixer, out.data(), (int)out.size());
    mixer_stop_all(&mixer);
    mixer_mix(&mixer, out.data(), (int)out.size());
    FUZZ_CHECK(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
    return 0;
}
