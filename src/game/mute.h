// The mute button: sound off and on again, whatever the screen; play goes on the same.
#pragma once

void mute_step();
