// The game's flow: menu or play at start-up, level start, fly-off and level
// advance, the end of the game and its bookkeeping, and the rules the drawing actions keep.
#pragma once

// After start-up has loaded: both let go of the buttons and put the ship on the
// spawn point; one queues the menu, the other the play codes once play was chosen.
void start_menu();
void start_play();

void level_start();   // ACT_LEVEL_START, before the light is placed
// From ACT_FORWARD once on the finish tile: the ship glides off and climbs; high
// enough, the level is complete and the frame holds for the level change's wait.
void fly_off();
// The wait's end has come by this frame's clock.
bool level_change_over();
// The wait is over: the next level is swapped in, unless the last is done.
void advance_when_complete();
// From the input step: with no lives left or the last level done, the results are
// summed once and the summary is queued in place of play every frame.
void end_game_when_over();
void game_over_bookkeeping();   // each frame while no lives are left

// The rules of the drawing actions; the first two say whether their picture is drawn.
bool ship_action();      // ACT_SHIP
bool track_action();     // ACT_TRACK: also turns the stars and hearts
void summary_action();   // ACT_SUMMARY: the game-over check queues it again each frame
