// Pause: play stands still, the level timer with it, while the scene is still drawn.
#pragma once

// The p key's press pauses or goes on, in play only.
void pause_key_step();
// Play pauses when the window loses the keyboard: keys pressed elsewhere never reach it.
void pause_on_focus_loss();
// A code that moves the ship does not run while paused.
bool action_stands_still(int code);
