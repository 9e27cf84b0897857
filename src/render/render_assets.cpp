#include "render/render.h"

render_assets_t render_assets;
