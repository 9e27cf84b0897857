#include "app/devices.h"

#include "app/bindings.h"
#include "app/world_picker.h"
#include "app/worlds.h"
#include "assets/scale.h"
#include "game/buttons.h"
#include "game/state.h"
#include "platform/platform.h"
#include "results/results.h"

command_t build_command_at_scale(bool focused, unsigned pad_controls, int32_t now_ms, float speed_scale) {
    hold_pad_controls(focused ? pad_controls : 0);
    command_t cmd{};
    buttons_read(focused, &cmd.held, &cmd.pressed);
    cmd.focused = focused;
    cmd.now_ms = now_ms;
    cmd.speed_scale = speed_scale;
    return cmd;
}

command_t build_command(bool focused, unsigned pad_controls, int32_t now_ms) {
    return build_command_at_scale(focused, pad_controls, now_ms, read_scale(game.speed_scale));
}

bool frame_done() {
    requests_t& requests = game.requests;
    buttons_frame_end();
    if (!requests.exit_line.empty())
        platform_say("%s\n", requests.exit_line.c_str());
    requests.exit_line.clear();
    if (requests.release_buttons)
        buttons_start_afresh();
    requests.release_buttons = false;
    bool write = requests.write_results;
    requests.write_results = false;
    // a write that failed is asked for again by the next rule that wants it
    if (write && !world_write_results(requests.results_to_write))
        requests.results_asked = false;
    if (requests.list_worlds || requests.world_asked)
        pick_world_when_asked();
    world_make_ahead();
    return write;
}
