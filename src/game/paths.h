// Where the game's files are found, from the bin/ folder it runs in.
#pragma once

// resources/ beside bin/, named in the lowest layer that reads from it (the levels); a macro,
// so each table of file names joins it to its names as it is compiled.
#define RESOURCE_FOLDER "../resources/"

// The player's own files, beside bin/ as resources/ is: every game's recording, the bests, the settings.
#define REPLAYS_FOLDER "../replays/"
#define RECORDS_FILE "../records.txt"
#define SETTINGS_FILE "../settings.txt"
