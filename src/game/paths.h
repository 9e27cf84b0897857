// Where the game's files are found, from the bin/ folder it runs in.
#pragma once

// resources/ beside bin/, named in the lowest layer that reads from it (the levels); a macro,
// so each table of file names joins it to its names as it is compiled.
#define RESOURCE_FOLDER "../resources/"

// The player's own files, beside bin/ as resources/ is: every game's recording, the bests, the settings.
#define REPLAYS_FOLDER "../replays/"
#define RECORDS_FILE "../records.txt"
#define SETTINGS_FILE "../settings.txt"

// Worlds of five levels: the campaign's ship in resources/, the player's own beside bin/ (each
// a folder of five level pictures and "world.txt"); a campaign world's results go beside the records.
#define CAMPAIGN_FOLDER RESOURCE_FOLDER "worlds/"
#define OWN_WORLDS_FOLDER "../worlds/"
#define WORLD_RESULTS_FOLDER "../world-results/"
#define WORLD_CARD "world.txt"
