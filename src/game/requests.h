// What a rule asks of the app: it is carried out once the rules are done, so a
// frame can be run, replayed or watched without touching the machine.
#pragma once

// The program ends with this status; the rest of the frame does not run. The first asked wins.
void request_exit(int status);
// "player.s" is written with the results as they stand, unless it holds them already.
void request_results_written();
// Start-up lets go of every button held, and of what was held before.
void request_buttons_afresh();
// The records screen's lines listed anew from the player's records and replays.
void request_records_listed();
// The game of a records line watched.
void request_watch(int line);
// The settings screen's rows listed anew, and one of them changed: -1 down, +1 up, 0 Enter's change.
void request_settings_listed();
void request_setting_changed(int row, int change);
// The world picker's worlds listed anew, and one of them readied for play (game.flow.world_ready).
void request_worlds_listed();
void request_world(int line);
