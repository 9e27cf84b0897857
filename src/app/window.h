// The GLUT window: opened once, then frames until the program ends.
#pragma once

// Players and the windowed tests know the game by this title.
inline constexpr char WINDOW_TITLE[] = "Quovix - by Orrib";

// Initialises GLUT and takes the screen size, full screen when width is 0, else a
// window of width by height that the game takes for the screen; false when the size is unusable.
bool open_window(int* argc, char** argv, int width, int height);
// Start-up for the menu in the window; ends the program when start-up asks to.
// A kept game's file, when given, is watched straight away; a world, when given, is played
// from the first frame.
struct world_t;
void start_window_game(const char* watch_path, const world_t* first_world);
void run_main_loop();
