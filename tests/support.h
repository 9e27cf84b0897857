// Test helpers: play folders laid out as a player's, with levels from text.
#pragma once
#include <string>
#include <vector>

// A text level 7 wide and 240 long: floor on columns 1 to 5, gaps on 0 and 6,
// the top 12 rows finish; rows listed in `rows` (row 0 is the near end) replaced.
struct level_edit {
    int         row;
    std::string tiles;   // 7 characters
};
std::string plain_level(const std::vector<level_edit>& rows = {}, bool with_finish = true);

// Makes <tmp>/play/bin and <tmp>/play/resources with the five levels given as
// text (fewer than five repeats the last), the game's generated models and
// pictures, and scale.txt holding `scale`. Returns the bin folder.
std::string make_play_folder(const std::vector<std::string>& levels, const std::string& scale = "1");

std::string read_text_file(const std::string& path);
void        write_text_file(const std::string& path, const std::string& text);
void        write_binary_file(const std::string& path, const std::vector<unsigned char>& bytes);
std::string temp_folder();   // fresh, removed at exit
