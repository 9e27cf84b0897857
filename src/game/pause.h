// Pause: play stands still, the level timer with it, while the scene is still drawn.
#pragma once

// The pause button's press pauses or goes on, in play only.
void pause_step();
// Play pauses when the window loses the keyboard: keys pressed elsewhere never reach
// it. A loss where play cannot pause (its start, the fly-off, the level change)
// pauses the first frame of play after it, unless the keyboard came back first.
void pause_on_focus_loss();
// A code that moves the ship does not run while paused.
bool action_stands_still(int code);
