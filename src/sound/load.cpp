#include "sound/load.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "sound/sounds.h"
#include "sound/wav.h"

void load_sound(const char* path, sound_clip_t* clip) {
    clip->clear();
    std::string why, bytes;
    FILE*       f = platform_open_regular(path, SOUND_FILE_MAX_BYTES, &why);
    if (!f) {
        // a sound left out of the resources is a sound the game does without
        if (why != platform_cannot_open)
            fprintf(stderr, "quovix: %s %s: that sound stays silent\n", path, why.c_str());
        return;
    }
    if (!platform_read_all(f, SOUND_FILE_MAX_BYTES, &bytes, &why) || !wav_read(bytes, clip, &why)) {
        clip->clear();
        fprintf(stderr, "quovix: %s %s: that sound stays silent\n", path, why.c_str());
    }
}

void load_sounds(const char* folder, sound_clip_t clips[EV_COUNT], sound_clip_t* engine) {
    std::string base = std::string(folder) + "/";
    for (int e = 0; e < EV_COUNT; e++) {
        const char* name = sound_file((game_event_t)e);
        if (name)
            load_sound((base + name).c_str(), &clips[e]);
        else
            clips[e].clear();
    }
    load_sound((base + ENGINE_SOUND).c_str(), engine);
}
