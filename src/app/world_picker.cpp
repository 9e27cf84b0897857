#include "app/world_picker.h"

#include <cstdio>

#include "app/keeping.h"
#include "game/requests.h"
#include "game/state.h"
#include "render/render.h"

static std::vector<world_t> listed;

const std::vector<world_t>& picker_worlds() { return listed; }

bool picker_world_open(int line) {
    if (line < 0 || line >= (int)listed.size())
        return false;
    if (listed[line].kind != WORLD_CAMPAIGN || line == 0)
        return true;
    // a world before it that cannot be played holds nothing closed
    const world_t& before = listed[line - 1];
    return !before.why.empty() || kept_world_finished(before.hashes);
}

static std::string world_line(int line) {
    const world_t& w = listed[line];
    std::string    text = w.info.title;
    if (!w.info.maker.empty())
        text += "   BY " + w.info.maker;
    if (w.kind == WORLD_SEEDED)
        text += "   SEED " + std::to_string(w.seed);
    if (!w.why.empty())
        return text + "   CANNOT PLAY";
    int32_t best = kept_best_points(w.hashes);
    text += best < 0 ? "   NO BEST YET" : "   BEST " + std::to_string(best);
    return text + (picker_world_open(line) ? "   OPEN" : "   LOCKED");
}

// Under the list, for the chosen world: why it cannot be played, why it is locked, or its note.
static std::string world_note(int line) {
    const world_t& w = listed[line];
    if (!w.why.empty())
        return "CANNOT PLAY: " + w.why;
    if (!picker_world_open(line))
        return "LOCKED: FINISH " + listed[line - 1].info.title + " WITH A LIFE LEFT";
    return w.info.note;
}

static void list_worlds() {
    listed = worlds_list();
    records_view.world_lines.clear();
    records_view.world_notes.clear();
    records_view.world_refusal.clear();
    for (int line = 0; line < (int)listed.size(); line++) {
        const world_t& w = listed[line];
        if (!w.why.empty())
            fprintf(stderr, "quovix: %s%s\n", w.folder.c_str(), w.why.c_str());
        records_view.world_lines.push_back(world_line(line));
        records_view.world_notes.push_back(world_note(line));
    }
    game.flow.worlds_lines = (int16_t)listed.size();
}

// Read again as it is now: a world changed since the list was made is refused, not loaded broken.
static void ready_world(int line) {
    if (line < 0 || line >= (int)listed.size())
        return;
    const world_t& w = listed[line];
    world_t        now = w;
    if (w.kind == WORLD_SEEDED)
        world_seeded_ready(&now);
    else if (w.kind != WORLD_MADE)
        now = world_read(w.kind, w.folder, w.name);
    if (!picker_world_open(line) || !now.why.empty() || now.hashes != w.hashes) {
        records_view.world_refusal = "IT CANNOT BE PLAYED YET";
        if (!now.why.empty())
            records_view.world_refusal = "CANNOT PLAY: " + now.why;
        return;
    }
    world_play(now);
    game.flow.world_ready = 1;
}

bool play_world_at_start(world_t world) {
    if (world.kind == WORLD_SEEDED && !world_seeded_ready(&world)) {
        fprintf(stderr, "quovix: %s: %s\n", world.name.c_str(), world.why.c_str());
        return false;
    }
    world_play(world);
    // the picker's own way into play, as if it had been opened and the world chosen
    game.flow.worlds_open = 1;
    game.flow.world_ready = 1;
    return true;
}

void pick_world_when_asked() {
    requests_t& requests = game.requests;
    if (requests.list_worlds)
        list_worlds();
    requests.list_worlds = false;
    if (requests.world_asked)
        ready_world(requests.world_line);
    requests.world_asked = false;
}
