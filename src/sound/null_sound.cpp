// The silent side: the same calls, no device, for tests and tools.
#include "sound/sound.h"

void sound_open(const char*) {}
void sound_frame(game_events_t, bool, bool) {}
void sound_set_volumes(int, int) {}
void sound_close() {}
