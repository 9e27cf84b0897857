// Every game played in the window kept: its recording in the replays folder, the
// bests it set in the records file, and the lines the summary and the records screen show.
#pragma once
#include <cstdint>
#include <string>

// The records file read once, at start.
void keeping_start();
// After each frame played in the window, once the recorder has taken its command.
void keep_frame();
// The records screen's lines listed from the records and the replays, when the game asks.
void list_records_when_asked();
// The replay a records line names, "" for none.
std::string records_line_replay(int line);
// The level picture's content hash, "" when it cannot be read.
std::string level_hash(int level);
// Whether the world of these five hashes was finished with a life left; its best points, -1 for none.
bool    kept_world_finished(const std::string& hashes);
int32_t kept_best_points(const std::string& hashes);
