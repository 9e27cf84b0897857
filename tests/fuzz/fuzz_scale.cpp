// The scale file's text: a scale is taken only when it is a positive finite
// number whose steps stay finite; anything else leaves the scale alone.
#include <cmath>
#include <string>

#include "assets/scale.h"
#include "fuzz_support.h"
#include "game/motion.h"
#include "game/state.h"
#include "game/tuning.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text((const char*)data, size);
    float       scale = 1.25f;
    if (!parse_scale(text.c_str(), &scale)) {
        FUZZ_CHECK(scale == 1.25f);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(scale) && scale > 0);
    compute_steps(scale);
    FUZZ_CHECK(std::isfinite(game.ship.forward_step) && std::isfinite(game.ship.side_step));
    FUZZ_CHECK(std::isfinite(game.ship.fall_step) && std::isfinite(game.ship.rise_step));
    FUZZ_CHECK(std::isfinite(PICKUP_SPIN_STEP / scale));
    return 0;
}
