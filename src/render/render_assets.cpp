#include "render/render.h"

render_assets_t render_assets;
records_view_t  records_view;
