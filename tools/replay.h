// Replays: the keys held in each frame of a level, kept as text beside the level
// (src/assets/replay_text.h reads and writes it).
//
// A replay starts with the first frame after Enter on the menu, in a game whose
// five levels are all the replayed level, at speed scale 1, so level N is played
// as the first level of that game.
#pragma once
#include <string>
#include <vector>

#include "game/command.h"

struct replay_outcome_t {
    bool finished;       // the finish tile was reached
    int  finish_frame;   // frames of the replay run when it was, else -1
    int  lives_lost;     // falls while the replay ran
    int  lives_at_end;
    int  stars;   // stars collected when the replay ended or finished
};

// Plays the frames from where the headless runner stands (play just started)
// and stops at the finish.
replay_outcome_t replay_play(const std::vector<buttons_t>& frames);

// Makes a throwaway play folder (bin/ and resources/) whose five levels are
// the given level picture, for replays and the solver. Returns the bin folder
// or "" with the reason in *why.
std::string replay_play_folder(const std::vector<unsigned char>& level_bmp, std::string* why);
// Opens the runner in that folder and starts play, keeping the game's
// start-up lines off standard output.
bool replay_start(const std::string& bin, std::string* why);
// Reads a level as text source (.txt) or picture (anything else) into BMP bytes.
bool replay_level_bmp(const char* path, std::vector<unsigned char>* bmp, std::string* why);
