// The level pictures a game plays, read by the app for the rules, which read no files.
#pragma once

// Loads level one of the world playing, prints the size line. On failure prints the error line and
// asks to end the program with status 1.
bool load_first_level();
// Reads a later level's picture into game.next_level, for the fly-off to swap in.
void read_next_level(const char* path);
// Reads the next level once the finish is reached and it has not been read yet.
void read_next_level_when_due();
