// The frame function: scale, input, camera, then the action list walked in order.
#pragma once

// Start-up: load, then the menu or play.
void run_startup();
// Loads the models, the pictures, the view and level one; ends the program when
// level one is unusable.
void load_game();
void run_frame();
