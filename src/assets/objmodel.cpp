#include "assets/objmodel.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

// One index of a corner: digits with an optional sign. Returns false when the
// text holds no number; a number beyond int range is marked unusable.
static bool read_index(const char** text, int32_t* index, bool* bad) {
    char* end;
    errno = 0;
    long v = strtol(*text, &end, 10);
    if (end == *text)
        return false;
    *text = end;
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN)
        *bad = true;
    else
        *index = (int32_t)v;
    return true;
}

// Resolves an index counted back from the end, as OBJ defines it: -1 is the
// last entry read so far.
static int32_t resolve(int32_t index, size_t count, bool* bad) {
    if (index >= 0)
        return index;
    int64_t absolute = (int64_t)count + index + 1;
    if (absolute < 1) {
        *bad = true;
        return 0;
    }
    return (int32_t)absolute;
}

// "v", "v/vt", "v//vn" or "v/vt/vn"; missing parts stay 0.
static bool read_corner(const char** text, obj_corner_t* c, bool* bad) {
    const char* p = *text;
    while (*p == ' ' || *p == '\t')
        p++;
    if (!read_index(&p, &c->position, bad))
        return false;
    if (c->position == 0)
        *bad = true;
    if (*p == '/') {
        p++;
        // a part left out reads as zero; a part given as 0 names no entry
        if (*p != '/' && read_index(&p, &c->texcoord, bad) && c->texcoord == 0)
            *bad = true;
        if (*p == '/') {
            p++;
            if (read_index(&p, &c->normal, bad) && c->normal == 0)
                *bad = true;
        }
    }
    *text = p;
    return true;
}

static void parse_face(const char* line, obj_model_t* m) {
    obj_face_t  face = {};
    const char* p = line + 2;
    for (obj_corner_t& c : face.corner) {
        if (!read_corner(&p, &c, &face.bad))
            face.bad = true;   // fewer than three corners: the zero index fits no array
    }
    for (obj_corner_t& c : face.corner) {
        c.position = resolve(c.position, m->positions.size() / 3, &face.bad);
        c.texcoord = resolve(c.texcoord, m->texcoords.size() / 2, &face.bad);
        c.normal = resolve(c.normal, m->normals.size() / 3, &face.bad);
    }
    m->faces.push_back(face);
}

void parse_obj_line(const char* line, obj_model_t* m) {
    if (line[0] == 'v' && line[1] == ' ') {
        float v[3] = {0, 0, 0};
        sscanf(line, "v %f %f %f", &v[0], &v[1], &v[2]);
        m->positions.insert(m->positions.end(), v, v + 3);
    } else if (line[0] == 'v' && line[1] == 't') {
        float v[2] = {0, 0};
        sscanf(line, "vt %f %f", &v[0], &v[1]);
        m->texcoords.insert(m->texcoords.end(), v, v + 2);
    } else if (line[0] == 'v' && line[1] == 'n') {
        float v[3] = {0, 0, 0};
        sscanf(line, "vn %f %f %f", &v[0], &v[1], &v[2]);
        m->normals.insert(m->normals.end(), v, v + 3);
    } else if (line[0] == 'f' && line[1] == ' ') {
        parse_face(line, m);
    }
}

void parse_obj(FILE* f, obj_model_t* m) {
    char piece[128];
    // a longer line arrives in pieces, each classified on its own; each piece is
    // at least a byte, so a file that keeps growing still ends the loop
    for (uint64_t pieces = 0; pieces < OBJ_FILE_MAX_BYTES && fgets(piece, sizeof(piece), f); pieces++)
        parse_obj_line(piece, m);
    fclose(f);
}

// Fetches entry k (1-based) of an array of n-float entries; 0 means "not given".
static bool fetch(const std::vector<float>& a, int32_t k, int n, float* out) {
    if (k == 0) {
        for (int i = 0; i < n; i++)
            out[i] = 0;
        return true;
    }
    size_t count = a.size() / n;
    if (k < 1 || (size_t)k > count)
        return false;
    for (int i = 0; i < n; i++)
        out[i] = a[(size_t)(k - 1) * n + i];
    return true;
}

std::vector<obj_vertex_t> obj_triangles(const obj_model_t& m) {
    std::vector<obj_vertex_t> out;
    for (const obj_face_t& face : m.faces) {
        if (face.bad)
            continue;
        obj_vertex_t v[3];
        bool         ok = true;
        for (int i = 0; i < 3 && ok; i++) {
            const obj_corner_t& c = face.corner[i];
            float               st[2] = {0, 0}, n[3] = {0, 0, 0}, p[3] = {0, 0, 0};
            ok = fetch(m.texcoords, c.texcoord, 2, st) && fetch(m.normals, c.normal, 3, n) &&
                 fetch(m.positions, c.position, 3, p);
            v[i] = {st[0], st[1], n[0], n[1], n[2], p[0], p[1], p[2]};
        }
        if (ok)
            out.insert(out.end(), v, v + 3);
    }
    return out;
}
