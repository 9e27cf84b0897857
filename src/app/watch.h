// A kept game watched in the window through the real frame function, fed from its
// recording instead of the keyboard: p pauses, f or the right arrow plays at four
// times its speed, Esc goes back. Watching writes nothing.
#pragma once
#include <string>

#include "game/command.h"

// Reads the recording and starts it from the menu it was started on (a world's game through
// the picker, as it was chosen); false with why when it cannot be read or was played on other
// level pictures.
bool watch_start(const std::string& path, std::string* why);
bool watching();
// One drawn frame of the watched game, steered by the keys of the window's command;
// the game's events of every frame run in it.
uint32_t watch_frame(const command_t& keys);
