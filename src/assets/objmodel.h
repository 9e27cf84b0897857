// Wavefront OBJ models, parsed into the triangles the driver compiles.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>

#include "render/render.h"

struct obj_corner_t {
    int32_t position, texcoord, normal;   // 1-based; 0 where the face gave none
};
struct obj_face_t {
    obj_corner_t corner[3];
    bool         bad;   // an index that no entry can satisfy
};
struct obj_model_t {
    std::vector<float>      positions;   // x y z
    std::vector<float>      texcoords;   // s t
    std::vector<float>      normals;     // x y z
    std::vector<obj_face_t> faces;
};

// The largest model file start-up reads; the game's own are some 40 kB.
const uint64_t OBJ_FILE_MAX_BYTES = 8 << 20;

// Reads an open file to its end, at most OBJ_FILE_MAX_BYTES pieces of a line, and closes it.
void parse_obj(FILE* f, obj_model_t* model);
void parse_obj_line(const char* line, obj_model_t* model);

// The triangles to draw, three corners each, faces with an index outside their
// arrays dropped.
std::vector<obj_vertex_t> obj_triangles(const obj_model_t& model);
