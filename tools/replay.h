// Replays: the keys held in each frame of a level, kept as text beside the level.
//
// A replay starts with the first frame after Enter on the menu, in a game whose
// five levels are all the replayed level, at speed scale 1, so level N is played
// as the first level of that game. The text is one run a line, "count keys", keys
// being "-" for none or a, d and space joined by '+' ("12 d+space"); lines
// starting with '#' are notes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A replay file is a line a run of keys; the largest kept is far past any level's.
const uint64_t replay_file_max_bytes = 1 << 20;
// The most frames a replay may hold: a day of play, so memory stays bounded.
const size_t replay_max_frames = 3000000;

std::string replay_keys_name(unsigned held);
std::string replay_to_text(const std::vector<unsigned>& frames, const std::string& notes);
bool        replay_from_text(const std::string& text, std::vector<unsigned>* frames, std::string* why);

struct replay_outcome_t {
    bool finished;       // the finish tile was reached
    int  finish_frame;   // frames of the replay run when it was, else -1
    int  lives_lost;     // falls while the replay ran
    int  lives_at_end;
    int  stars;   // stars collected when the replay ended or finished
};

// Plays the frames from where the headless runner stands (play just started)
// and stops at the finish.
replay_outcome_t replay_play(const std::vector<unsigned>& frames);

// Makes a throwaway play folder (bin/ and resources/) whose five levels are
// the given level picture, for replays and the solver. Returns the bin folder
// or "" with the reason in *why.
std::string replay_play_folder(const std::vector<unsigned char>& level_bmp, std::string* why);
// Opens the runner in that folder and starts play, keeping the game's
// start-up lines off standard output.
bool replay_start(const std::string& bin, std::string* why);
// Reads a level as text source (.txt) or picture (anything else) into BMP bytes.
bool replay_level_bmp(const char* path, std::vector<unsigned char>* bmp, std::string* why);
