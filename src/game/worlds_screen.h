// The world picker over the menu: l opens it, the menu buttons choose a world, Enter asks
// for it (the app refuses a locked or broken one), Esc goes back to the menu. Once the app
// has the world ready, play starts on it as PLAY GAME starts the designed game.
#pragma once

// True when the picker took the frame's buttons: nothing else of the input step runs.
// *play: the chosen world is ready and play starts, start-up running again.
bool worlds_screen_step(bool* play);
