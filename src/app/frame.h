// The frame function: scale, input, camera, then the action list walked in order.
#pragma once

// Start-up: load, then the menu or play.
void run_startup();
// Loads the models, the pictures, the view and level one; ends the program when
// level one is unusable.
void load_game();
// Loads level one, prints the size line. On failure prints the error line and
// ends the program with status 1.
bool load_first_level();
// Reads a later level's picture into game.next_level, for the fly-off to swap in.
void read_next_level(const char* path);
void run_frame();
