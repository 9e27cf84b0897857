// The world picker's lines and Enter on one of them, carried out for the rules after a frame:
// which worlds are open comes from the records (each finished with a life left opens the next).
#pragma once
#include <string>
#include <vector>

#include "app/worlds.h"

// The picker's worlds listed when it opened, and the chosen one readied or refused.
void pick_world_when_asked();
// The worlds as last listed, in the picker's order.
const std::vector<world_t>& picker_worlds();
// Whether the picker's world at line may be played: the designed game, the player's own and a
// made one always; a campaign world once the world before it is finished with a life left.
bool picker_world_open(int line);
// A world played from the first frame, as the command line asks (--seed): readied now, and
// play starting on the next frame as the picker starts it; false, said on standard error, when
// it cannot be played.
bool play_world_at_start(world_t world);
