// The settings screen over the menu or the pause screen: o opens it, the menu buttons
// choose a row, the steering buttons turn a value down or up, Enter changes the row
// (a new key is asked for), Esc goes back to where it was opened.
#pragma once

// True when the screen took the frame's buttons: nothing else of the input step runs.
bool settings_screen_step();
