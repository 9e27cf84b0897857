// The frame's command, built from the devices before the rules run, and what the
// app carries out for the frame once they are done.
#pragma once
#include <cstdint>

#include "app/pace.h"
#include "game/command.h"

// A frame's time on the window-free runner's clock, in whole milliseconds as the level timer counts.
inline constexpr int32_t FRAME_MS = 1000 / PACE_RATE;

// The pads' controls count only while the window has the keyboard, as the keys do.
command_t build_command(bool focused, unsigned pad_controls, int32_t now_ms);
// The same with the speed scale given, not read: a search whose scale file never changes.
command_t build_command_at_scale(bool focused, unsigned pad_controls, int32_t now_ms, float speed_scale);
// After the frame: the buttons' held-back releases, then what the rules asked
// for (the results written, the buttons let go of, the world picker's worlds). True when
// "player.s", or the world's own results file, was written.
bool frame_done();
