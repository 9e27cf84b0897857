#include "game/requests.h"

#include <cstring>

#include "game/state.h"

void request_exit(int status) {
    if (game.requests.exit)
        return;
    game.requests.exit = true;
    game.requests.exit_status = status;
}

void request_results_written() {
    requests_t& requests = game.requests;
    // the file holds the records, not the totals summed after them
    const results_t& last = requests.results_to_write;
    if (requests.results_asked && memcmp(last.records, game.results.records, sizeof(last.records)) == 0)
        return;
    requests.results_asked = true;
    requests.write_results = true;
    requests.results_to_write = game.results;
}

void request_buttons_afresh() { game.requests.release_buttons = true; }
void request_records_listed() { game.requests.list_records = true; }

void request_watch(int line) {
    game.requests.watch_asked = true;
    game.requests.watch_line = (int16_t)line;
}

void request_settings_listed() { game.requests.list_settings = true; }

void request_setting_changed(int row, int change) {
    game.requests.setting_asked = true;
    game.requests.setting_row = (int16_t)row;
    game.requests.setting_change = (int8_t)change;
}

void request_worlds_listed() { game.requests.list_worlds = true; }

void request_world(int line) {
    game.requests.world_asked = true;
    game.requests.world_line = (int16_t)line;
}
