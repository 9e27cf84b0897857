// Wavefront OBJ models: parsed here, compiled into a display list by the driver.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>

struct obj_corner_t {
    int32_t position, texcoord, normal;   // 1-based; 0 where the face gave none
};
struct obj_face_t {
    obj_corner_t corner[3];
    bool         bad;                      // an index that no entry can satisfy
};
struct obj_model_t {
    std::vector<float>      positions;   // x y z
    std::vector<float>      texcoords;   // s t
    std::vector<float>      normals;     // x y z
    std::vector<obj_face_t> faces;
};

// One corner as drawn: texture coordinate, normal, position.
struct obj_vertex_t {
    float s, t;
    float nx, ny, nz;
    float x, y, z;
};

// Reads an open file to its end and closes it.
void parse_obj(FILE* f, obj_model_t* model);
void parse_obj_line(const char* line, obj_model_t* model);

// The triangles to draw, three corners each, faces with an index outside their
// arrays dropped.
std::vector<obj_vertex_t> obj_triangles(const obj_model_t& model);

// Parse, then compile through the driver; returns the display list.
uint32_t load_model(FILE* f);
