// OBJ models: any text, or any bytes, parses into faces whose triangles use
// only entries the file gave; a bad index drops its face, never reads past an array.
#include <cmath>
#include <cstring>
#include <string>

#include "assets/objmodel.h"
#include "fuzz_support.h"

static bool same_float(float a, float b) { return memcmp(&a, &b, sizeof(float)) == 0; }

// True when the three floats are entry k (1-based) of the array, or zeros for k == 0.
static bool entry_matches(const std::vector<float>& a, int32_t k, int n, const float* got) {
    if (k == 0) {
        for (int i = 0; i < n; i++)
            if (got[i] != 0)
                return false;
        return true;
    }
    for (int i = 0; i < n; i++)
        if (!same_float(a[(size_t)(k - 1) * n + i], got[i]))
            return false;
    return true;
}

static void check_model(const obj_model_t& m) {
    FUZZ_CHECK(m.positions.size() % 3 == 0 && m.texcoords.size() % 2 == 0 && m.normals.size() % 3 == 0);
    std::vector<obj_vertex_t> tris = obj_triangles(m);
    FUZZ_CHECK(tris.size() % 3 == 0 && tris.size() <= m.faces.size() * 3);
    // the triangles follow the faces that are usable, in file order
    size_t next = 0;
    for (const obj_face_t& face : m.faces) {
        bool usable = !face.bad;
        for (const obj_corner_t& c : face.corner) {
            usable = usable && c.position >= 1 && (size_t)c.position <= m.positions.size() / 3;
            usable = usable && c.texcoord >= 0 && (size_t)c.texcoord <= m.texcoords.size() / 2;
            usable = usable && c.normal >= 0 && (size_t)c.normal <= m.normals.size() / 3;
        }
        if (!usable)
            continue;
        FUZZ_CHECK(next + 3 <= tris.size());
        for (int i = 0; i < 3; i++) {
            const obj_vertex_t& v = tris[next + i];
            const obj_corner_t& c = face.corner[i];
            float               st[2] = {v.s, v.t}, n[3] = {v.nx, v.ny, v.nz}, p[3] = {v.x, v.y, v.z};
            FUZZ_CHECK(entry_matches(m.positions, c.position, 3, p));
            FUZZ_CHECK(entry_matches(m.texcoords, c.texcoord, 2, st));
            FUZZ_CHECK(entry_matches(m.normals, c.normal, 3, n));
        }
        next += 3;
    }
    FUZZ_CHECK(next == tris.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // as a file: read in pieces of at most 127 characters
    std::vector<uint8_t> copy;
    if (FILE* f = open_bytes(&copy, data, size)) {
        obj_model_t model;
        parse_obj(f, &model);
        check_model(model);
    }
    // as single lines, each piece between line ends on its own
    obj_model_t lines;
    std::string text((const char*)data, size);
    size_t      start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        parse_obj_line(text.substr(start, end - start).c_str(), &lines);
        start = end + 1;
    }
    check_model(lines);
    return 0;
}
