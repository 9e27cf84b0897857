// The silent side: the same calls, no device, for tests and tools.
#include "sound/sound.h"

void sound_open(const char*) {}
void sound_frame() {}
void sound_close() {}
