// Recordings and level replays as text: the readers refuse anything with a one-line
// reason, and whatever they take is written back as text that reads the same.
#include <string>
#include <vector>

#include "assets/recording.h"
#include "assets/replay_text.h"
#include "fuzz_support.h"

static bool one_line(const std::string& why) { return !why.empty() && why.find('\n') == std::string::npos; }

static void check_recording(const std::string& text) {
    recording_t r;
    std::string why;
    if (!recording_from_text(text, &r, &why)) {
        FUZZ_CHECK(one_line(why));
        return;
    }
    FUZZ_CHECK(text_is_recording(text) && r.frames.size() <= replay_max_frames);
    std::string written = recording_to_text(r);
    recording_t again;
    FUZZ_CHECK(recording_from_text(written, &again, &why));
    FUZZ_CHECK(recording_to_text(again) == written && again.frames.size() == r.frames.size());
}

static void check_replay(const std::string& text) {
    std::vector<buttons_t> frames, again;
    std::string            why;
    if (!replay_from_text(text, &frames, &why)) {
        FUZZ_CHECK(one_line(why));
        return;
    }
    FUZZ_CHECK(replay_from_text(replay_to_text(frames, ""), &again, &why) && again == frames);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text((const char*)data, size);
    check_recording(text);
    check_replay(text);
    return 0;
}
