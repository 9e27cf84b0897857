// The records screen over the menu: r opens it, the menu buttons choose a line,
// Enter asks for that game to be watched, Esc goes back to the menu.
#pragma once

// True when the screen took the frame's buttons: nothing else of the input step runs.
bool records_screen_step();
