// The track drawn fast: the cubes kept in one buffer, only the faces no neighbour
// hides and no undersides, only the tiles in view; the picture stays the reference's.
// Seen from below or from inside a cube the reference drawing draws the frame.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "game/levelmap.h"
#include "game/state.h"
#include "render/materials.h"
#include "render/render.h"
#include "render/render_local.h"

// The cache: built from a copy of the level pixels, rebuilt when a pickup changes one.
static std::vector<uint8_t> built_from;
static int                  built_width, built_height, built_line;
static std::vector<float>   vertex_pos, vertex_normal;   // kept only while the cache is built
static std::vector<int>     tile_first;                  // first vertex of tile r, c at r * (width + 1) + c
static GLuint               vertex_buffer;               // positions, then normals
static size_t               normals_at;                  // byte offset of the normals in the buffer

static tile_kind_t kind_at(int r, int c) {
    if (r < 0 || c < 0 || r >= game.level.height || c >= game.level.width)
        return TILE_GAP;
    return tile_kind_at(r * game.level.line_length + c * 3);
}

static bool has_cube(int r, int c, int storey) {
    tile_kind_t k = kind_at(r, c);
    return storey == 0 ? k != TILE_GAP : k == TILE_WALL;
}

// A face lies inside the neighbouring cube of the same storey, or inside the
// other cube of a wall: no view sees it.
static bool face_is_inside(int r, int c, int storey, int face) {
    switch (face) {
    case 0: return has_cube(r + 1, c, storey);
    case 1: return has_cube(r - 1, c, storey);
    case 2: return storey == 0 && has_cube(r, c, 1);
    case 3: return has_cube(r, c + 1, storey);
    case 4: return has_cube(r, c - 1, storey);
    default: return storey == 1;
    }
}

static const int underside = 5;

// A cube's faces but its underside, which faces away from an eye above it and
// lies behind the rest of its cube.
static void add_cube(int r, int c, int storey, float h) {
    float size = tile_cube_size(h);
    float centre[3] = {tile_centre(c, h), tile_centre(r, h), storey ? WALL_LIFT : 0.0f};
    for (int f = 0; f < 6; f++) {
        if (f == underside || face_is_inside(r, c, storey, f))
            continue;
        for (int v = 0; v < 4; v++) {
            for (int i = 0; i < 3; i++) {
                vertex_pos.push_back(centre[i] + size * cube_corner[f][v][i]);
                // the reference scales the unit cube, which scales its normals by 1 / size
                vertex_normal.push_back(cube_normal[f][i] / size);
            }
        }
    }
}

static void build_cache() {
    built_from = game.level.pixels;
    built_width = game.level.width;
    built_height = game.level.height;
    built_line = game.level.line_length;
    vertex_pos.clear();
    vertex_normal.clear();
    float h = (float)game.level.height;
    tile_first.assign((size_t)built_height * (built_width + 1), 0);
    for (int r = 0; r < built_height; r++) {
        for (int c = 0; c <= built_width; c++) {
            tile_first[(size_t)r * (built_width + 1) + c] = (int)(vertex_pos.size() / 3);
            if (c == built_width)
                break;
            // the reference's order: a wall's raised cube first
            if (has_cube(r, c, 1))
                add_cube(r, c, 1, h);
            if (has_cube(r, c, 0))
                add_cube(r, c, 0, h);
        }
    }
    if (!vertex_buffer)
        glGenBuffers(1, &vertex_buffer);
    size_t bytes = vertex_pos.size() * sizeof(float);
    glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(2 * bytes), nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)bytes, vertex_pos.data());
    glBufferSubData(GL_ARRAY_BUFFER, (GLintptr)bytes, (GLsizeiptr)bytes, vertex_normal.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    normals_at = bytes;
    std::vector<float>().swap(vertex_pos);
    std::vector<float>().swap(vertex_normal);
}

static bool cache_is_current() {
    return built_width == game.level.width && built_height == game.level.height &&
           built_line == game.level.line_length && built_from == game.level.pixels;
}

// The planes a visible point lies on the positive side of, in world space.
struct view_planes_t {
    float plane[7][4];
    int   count;
    float near_corner[4][3];   // the corners of the view's near edge
    float eye[3];
};

// Solves m * x = b for a 4 x 4 column-major m by elimination; false when singular.
static bool solve4(const float m[16], const float b[4], float x[4]) {
    double a[4][5];
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 4; c++)
            a[r][c] = m[c * 4 + r];
        a[r][4] = b[r];
    }
    for (int c = 0; c < 4; c++) {
        int pivot = c;
        for (int r = c + 1; r < 4; r++)
            if (fabs(a[r][c]) > fabs(a[pivot][c]))
                pivot = r;
        if (a[pivot][c] == 0)
            return false;
        for (int k = 0; k < 5; k++)
            std::swap(a[c][k], a[pivot][k]);
        for (int r = 0; r < 4; r++) {
            if (r == c)
                continue;
            double f = a[r][c] / a[c][c];
            for (int k = c; k < 5; k++)
                a[r][k] -= f * a[c][k];
        }
    }
    for (int r = 0; r < 4; r++)
        x[r] = (float)(a[r][4] / a[r][r]);
    return true;
}

// The view's planes; with a copied background behind the track, one more just in front of it.
static void make_planes(view_planes_t* v, bool behind_background) {
    float m[16], p[16], clip[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += p[k * 4 + row] * m[col * 4 + k];
            clip[col * 4 + row] = sum;
        }
    auto row_of = [&](int row, int i) { return clip[i * 4 + row]; };
    v->count = 0;
    for (int axis = 0; axis < 3; axis++)
        for (int sign = -1; sign <= 1; sign += 2) {
            float* pl = v->plane[v->count++];
            for (int i = 0; i < 4; i++)
                pl[i] = row_of(3, i) + sign * row_of(axis, i);
        }
    for (int k = 0; k < 4; k++) {
        float corner[4] = {k & 1 ? 1.0f : -1.0f, k & 2 ? 1.0f : -1.0f, -1.0f, 1.0f}, world[4];
        if (!solve4(clip, corner, world) || world[3] == 0)
            world[0] = world[1] = world[2] = 0, world[3] = 1;
        for (int i = 0; i < 3; i++)
            v->near_corner[k][i] = world[i] / world[3];
    }
    // the eye is the point the view sends to infinity: clip x, y and w all 0
    float toward_infinity[4] = {0, 0, 1, 0}, eye[4];
    if (!solve4(clip, toward_infinity, eye) || eye[3] == 0)
        eye[0] = eye[1] = eye[2] = 0, eye[3] = 1;
    for (int i = 0; i < 3; i++)
        v->eye[i] = eye[i] / eye[3];
    if (behind_background) {
        // the background quad's depth, where its z of 0 lands in its ortho view, less a margin
        const float background_z = -(PICTURE_FAR + BACKGROUND_NEAR) / (PICTURE_FAR - BACKGROUND_NEAR) - 1e-4f;
        float*      pl = v->plane[v->count++];
        for (int i = 0; i < 4; i++)
            pl[i] = background_z * row_of(3, i) - row_of(2, i);
    }
}

// False only when the box lies wholly outside one plane.
static bool box_in_view(const view_planes_t& v, const float lo[3], const float hi[3]) {
    for (int k = 0; k < v.count; k++) {
        const float* pl = v.plane[k];
        float        d = pl[3];
        for (int i = 0; i < 3; i++)
            d += pl[i] * (pl[i] > 0 ? hi[i] : lo[i]);
        if (d < 0)
            return false;
    }
    return true;
}

// The box around the cubes of row r, columns c0 to c1, a little larger.
static void tiles_box(int r, int c0, int c1, float lo[3], float hi[3]) {
    float h = (float)built_height;
    float size = tile_cube_size(h) + 1e-5f;
    lo[0] = tile_centre(c0, h) - size, lo[1] = tile_centre(r, h) - size, lo[2] = -size;
    hi[0] = tile_centre(c1, h) + size, hi[1] = tile_centre(r, h) + size, hi[2] = WALL_LIFT + size;
}

static bool tiles_in_view(const view_planes_t& v, int r, int c0, int c1) {
    float lo[3], hi[3];
    tiles_box(r, c0, c1, lo, hi);
    return box_in_view(v, lo, hi);
}

static const float* material_of(tile_kind_t k) { return k == TILE_FINISH ? finish_green : NEAR_BLACK; }

// The visible columns of each row, first > last where none.
static void find_visible(const view_planes_t& v, std::vector<int>* row_first, std::vector<int>* row_last) {
    for (int r = 0; r < built_height; r++) {
        int c0 = 0, c1 = built_width - 1;
        (*row_first)[r] = 1, (*row_last)[r] = 0;
        if (!tiles_in_view(v, r, c0, c1))
            continue;
        while (c0 <= c1 && !tiles_in_view(v, r, c0, c0))
            c0++;
        while (c1 >= c0 && !tiles_in_view(v, r, c1, c1))
            c1--;
        (*row_first)[r] = c0, (*row_last)[r] = c1;
    }
}

// True when the window's near edge of the view passes through a cube (the ship
// falling through the track), where the reference drawing shows the cube's inside.
static bool view_starts_inside_a_cube(const view_planes_t& v) {
    float lo[3], hi[3];
    for (int i = 0; i < 3; i++)
        lo[i] = v.near_corner[0][i], hi[i] = v.near_corner[0][i];
    for (int k = 1; k < 4; k++)
        for (int i = 0; i < 3; i++)
            lo[i] = fminf(lo[i], v.near_corner[k][i]), hi[i] = fmaxf(hi[i], v.near_corner[k][i]);
    float h = (float)built_height;
    float size = tile_cube_size(h) + 1e-5f;
    if (lo[2] > WALL_LIFT + size || hi[2] < -size)
        return false;
    int r0 = (int)fmaxf(floorf(lo[1] * h) - 1, 0), r1 = (int)fminf(ceilf(hi[1] * h) + 1, built_height - 1);
    int c0 = (int)fmaxf(floorf(lo[0] * h) - 1, 0), c1 = (int)fminf(ceilf(hi[0] * h) + 1, built_width - 1);
    for (int r = r0; r <= r1; r++)
        for (int c = c0; c <= c1; c++) {
            float top = kind_at(r, c) == TILE_WALL ? WALL_LIFT + size : size;
            if (kind_at(r, c) != TILE_GAP &&
                fabsf(tile_centre(c, h) - (lo[0] + hi[0]) / 2) <= size + (hi[0] - lo[0]) / 2 &&
                fabsf(tile_centre(r, h) - (lo[1] + hi[1]) / 2) <= size + (hi[1] - lo[1]) / 2 && lo[2] <= top)
                return true;
        }
    return false;
}

// Draws the cubes of each row's visible columns, one call per run of one material.
static void draw_cubes(const std::vector<int>& row_first, const std::vector<int>& row_last) {
    const float* current = nullptr;
    int          run_first = 0, run_end = 0;
    auto         flush = [&]() {
        if (run_end > run_first)
            glDrawArrays(GL_QUADS, run_first, run_end - run_first);
        run_first = run_end;
    };
    for (int r = 0; r < built_height; r++) {
        for (int c = row_first[r]; c <= row_last[r]; c++) {
            const int* first = &tile_first[(size_t)r * (built_width + 1) + c];
            if (first[1] == first[0])
                continue;
            const float* m = material_of(kind_at(r, c));
            if (m != current || first[0] != run_end) {
                flush();
                run_first = run_end = first[0];
                if (m != current)
                    set_material(m, NEAR_BLACK);
                current = m;
            }
            run_end = first[1];
        }
    }
    flush();
}

static void draw_pickups(const std::vector<int>& row_first, const std::vector<int>& row_last) {
    float h = (float)built_height;
    for (int r = 0; r < built_height; r++) {
        for (int c = row_first[r]; c <= row_last[r]; c++) {
            tile_kind_t k = kind_at(r, c);
            if (k == TILE_STAR) {
                set_material(star_diffuse, star_glow);
                pickup_at(tile_centre(c, h), tile_centre(r, h), render_assets.star_list);
            } else if (k == TILE_HEART) {
                set_material(heart_diffuse, heart_glow);
                pickup_at(tile_centre(c, h), tile_centre(r, h), render_assets.heart_list);
            }
        }
    }
}

static void draw_track_fast() {
    // the background's note is spent on the first track drawn over it
    bool behind_background = renderer.frame.background_hides_far_tiles;
    renderer.frame.background_hides_far_tiles = false;
    if (game.level.pixels.empty())
        return;
    if (!cache_is_current())
        build_cache();
    view_planes_t v;
    make_planes(&v, behind_background);
    std::vector<int> row_first(built_height), row_last(built_height);
    find_visible(v, &row_first, &row_last);
    // the ship falling past the track, the frames before a life is lost: from below the
    // floor's middle the undersides left out may face the eye
    if (v.eye[2] < 0 || view_starts_inside_a_cube(v)) {
        // whole cubes, as the reference draws them, but only those in view
        glPushMatrix();
        for (int r = 0; r < built_height; r++)
            for (int c = row_first[r]; c <= row_last[r]; c++)
                draw_tile_straight(r, c);
        glPopMatrix();
        return;
    }

    // a star dips into its cube: drawn first, as the reference does, the cube wins where they meet
    draw_pickups(row_first, row_last);
    // every colour drawn here is opaque, so blending would leave each pixel as it is
    GLboolean blending = glIsEnabled(GL_BLEND);
    glDisable(GL_BLEND);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glNormalPointer(GL_FLOAT, 0, (const void*)normals_at);
    draw_cubes(row_first, row_last);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (blending)
        glEnable(GL_BLEND);
    set_material(NEAR_BLACK, NEAR_BLACK);
}

void draw_track() {
    if (renderer.reference_drawing)
        draw_track_reference();
    else
        draw_track_fast();
}
