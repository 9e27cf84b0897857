// The game as it is played, kept as a recording (assets/recording.h): every
// command the frame function is given from the frame that started play to the
// frame the game ended on.
#pragma once
#include "assets/recording.h"
#include "game/command.h"

// After each run_frame with its command: a recording starts on the frame that
// started play, takes each frame while one goes on, and ends on the frame the game
// was won, lost, or left during play.
void recorder_frame(const command_t& cmd);
// True once, on the frame the game ended; recorder_last then holds its recording.
bool               recorder_game_ended();
const recording_t& recorder_last();
// Level N's picture as the game would read it now, in the world playing: its name and its bytes' hash.
recorded_level_t level_as_found(int level);
// Nothing recorded nor going on: a new game from program start, the menu just begun.
void recorder_forget();
// The menu has begun afresh (a watched game's end): a recording starts from here.
void recorder_menu_began();
// A search runs a million frames it rewinds: it keeps none of them.
void recorder_set_on(bool on);
