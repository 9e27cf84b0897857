// Pictures whose mipmaps are built later: each build takes as long as a frame or
// more, and the first frame shows only one picture.
#include <GL/gl.h>
#include <algorithm>
#include <vector>

#include "render/render.h"
#include "render/render_local.h"

struct waiting_picture_t {
    uint32_t             name;
    int                  width, height;
    std::vector<uint8_t> rgb;
};
static std::vector<waiting_picture_t> waiting;

uint32_t upload_texture_later(int width, int height, std::vector<uint8_t> rgb) {
    GLuint name = 0;
    glGenTextures(1, &name);
    waiting.push_back({name, width, height, std::move(rgb)});
    return name;
}

static void build(std::vector<waiting_picture_t>::iterator p) {
    waiting_picture_t picture = std::move(*p);
    waiting.erase(p);
    upload_texture_into(picture.name, picture.width, picture.height, picture.rgb.data());
}

void texture_ready(uint32_t name) {
    auto p = std::find_if(waiting.begin(), waiting.end(), [&](const waiting_picture_t& w) { return w.name == name; });
    if (p != waiting.end())
        build(p);
}

bool pictures_waiting() { return !waiting.empty(); }

bool build_a_waiting_texture() {
    // the last queued is the exit picture, the one the menu may show next
    if (waiting.empty())
        return false;
    build(waiting.end() - 1);
    return waiting.empty();
}
