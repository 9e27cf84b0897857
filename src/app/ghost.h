// The ghost: the level's best run by time, flown beside the ship frame for frame
// from the path its ship took, kept in the replays folder by the level's hash;
// shown as the settings have it.
#pragma once
#include <string>

// Before a frame of play is drawn: where the ghost is this frame, or hidden.
void ghost_before_frame();
// After it: the ship's path taken, g heard, a new level's ghost read.
void ghost_after_frame(bool g_pressed);
// The level just finished set the best time: its path becomes the level's ghost.
void ghost_keep_best(const std::string& level_hash);
// No ghost while a game is watched.
void ghost_hide();
