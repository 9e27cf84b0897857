// The frame function: the command taken, input, camera, then the action list walked in order.
#pragma once

#include "game/command.h"

// Loads the models, the pictures, the view and level one; asks to end the program
// when level one is unusable.
void load_game();
// Start of the program, and play again from the summary: everything loaded, then the menu.
void start_program();
// Play chosen on the menu: start-up runs again, whole, then play.
void start_game();
// One frame of the game with this command. A level change holds the frame at the
// fly-off's end: later frames draw nothing new until its wait is over, then go on with it.
// Undrawn, it runs every rule and draws nothing: a watched game at speed.
void run_frame(const command_t& cmd, bool drawn = true);
// Play again's fresh start, for a watched game and the way back from it: the menu, the process kept.
void start_afresh();
// Frames run apart from the game the window shows: they must touch none of its drawing.
void run_frames_aside(bool on);
