// The game's flow: menu or play at start-up, level start, fly-off and level
// advance, the end of the game and its bookkeeping, and the rules the drawing actions keep.
#pragma once

// After start-up has loaded: clears the keys, puts the ship on the spawn point
// and queues the menu, or the play codes once play was chosen.
void start_menu_or_play();

void level_start();           // ACT_LEVEL_START, before the light is placed
void fly_off_and_advance();   // from ACT_FORWARD once on the finish tile
// From the input step: with no lives left or the last level done, the results are
// summed once and the summary is queued in place of play every frame.
void end_game_when_over();
void game_over_bookkeeping();   // each frame while no lives are left

// The rules of the drawing actions; the first two say whether their picture is drawn.
bool ship_action();      // ACT_SHIP
bool track_action();     // ACT_TRACK: also turns the stars and hearts
void summary_action();   // ACT_SUMMARY: the game-over check queues it again each frame
