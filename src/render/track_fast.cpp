// The track drawn fast: the cubes kept in one buffer, only the faces no neighbour
// hides and no undersides, only the tiles in view, each pixel of a top written about
// once; the picture stays the reference's.
// Seen from below or from inside a cube, whole cubes from a set of their own.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
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
static std::vector<int>     side_first;                  // the same for the tile's faces but its top
static std::vector<int>     below_first;                 // the same for the faces no neighbour hides, seen from below
static std::vector<int>     whole_first;                 // the same for whole cubes, every face, seen from inside

// A row of like tops drawn as one quad, in rows far enough from the ship that its light
// changes too little across the row for the corners between to show.
struct top_run_t {
    int c0, c1, first;   // columns, first vertex
};
static std::vector<top_run_t> top_runs;
static std::vector<int>       row_runs;             // row r's runs are top_runs[row_runs[r]] up to row_runs[r + 1]
static const float            MERGE_FROM = 0.03f;   // distance from the ship along the track
static const int              MERGE_MOST = 8;       // tiles in one run at most
static GLuint                 vertex_buffer;        // positions, then normals
static size_t                 normals_at;           // byte offset of the normals in the buffer

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

static const float* material_of(tile_kind_t k) { return k == TILE_FINISH ? finish_green : NEAR_BLACK; }

// The next cube along x (axis 0) or y (axis 1) whose same face lies in this face's plane
// in the same colour: drawn later, it wins where the two overlap, so this face may stop
// where that one starts.
static bool later_twin_covers(int r, int c, int storey, int face, int axis) {
    int nr = r + axis, nc = c + 1 - axis;
    return has_cube(nr, nc, storey) && !face_is_inside(nr, nc, storey, face) &&
           material_of(kind_at(nr, nc)) == material_of(kind_at(r, c));
}

static const int top = 2;

static bool is_pickup(int r, int c) { return kind_at(r, c) == TILE_STAR || kind_at(r, c) == TILE_HEART; }
static bool has_top(int r, int c, int storey) { return has_cube(r, c, storey) && !face_is_inside(r, c, storey, top); }

// A top whose four neighbours have tops like it and no pickup near: every edge of it lies
// on those tops, so cutting it changes no outline, and no star dips under it.
static bool top_is_inner(int r, int c, int storey) {
    static const int step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int dr = -1; dr <= 1; dr++)
        for (int dc = -1; dc <= 1; dc++)
            if (is_pickup(r + dr, c + dc))
                return false;
    for (const auto& s : step)
        if (!has_top(r + s[0], c + s[1], storey) ||
            material_of(kind_at(r + s[0], c + s[1])) != material_of(kind_at(r, c)))
            return false;
    return true;
}

// The far edge of a top along x (axis 0) or y (axis 1): the cube's own, or, for an inner
// top, where the later twin starts, less a sliver kept so edges meet without a crack.
static float top_end(int r, int c, int storey, int axis, float h) {
    float size = tile_cube_size(h);
    float own = tile_centre(axis ? r : c, h) + size, twin = tile_centre((axis ? r : c) + 1, h) - size;
    if (twin < own && top_is_inner(r, c, storey) && later_twin_covers(r, c, storey, top, axis))
        return twin + (own - twin) / 8;
    return own;
}

// What of a cube goes into a set of vertices.
enum cube_faces_t {
    FACES_SEEN_FROM_ABOVE,   // not its underside, which faces away from an eye above it and lies behind the rest of its
                             // cube
    FACES_BUT_TOP,           // the same without its top, for rows whose tops are merged
    FACES_OUTSIDE,           // every face no neighbour hides, whole: seen from below
    FACES_ALL,               // every face, as the reference draws it: from inside a cube any may show
};

// A cube's faces as the set asks; an inner top stops where the later twin starts.
static void add_cube(int r, int c, int storey, float h, cube_faces_t faces) {
    float size = tile_cube_size(h);
    float centre[3] = {tile_centre(c, h), tile_centre(r, h), storey ? WALL_LIFT : 0.0f};
    bool  from_above = faces == FACES_SEEN_FROM_ABOVE || faces == FACES_BUT_TOP;
    for (int f = 0; f < 6; f++) {
        if (faces != FACES_ALL && face_is_inside(r, c, storey, f))
            continue;
        if (from_above && (f == underside || (f == top && faces == FACES_BUT_TOP)))
            continue;
        bool  cut = f == top && from_above;
        float end[2] = {cut ? top_end(r, c, storey, 0, h) : 0, cut ? top_end(r, c, storey, 1, h) : 0};
        for (int v = 0; v < 4; v++) {
            for (int i = 0; i < 3; i++) {
                float corner = cube_corner[f][v][i];
                vertex_pos.push_back(cut && i < 2 && corner > 0 ? end[i] : centre[i] + size * corner);
                // the reference scales the unit cube, which scales its normals by 1 / size
                vertex_normal.push_back(cube_normal[f][i] / size);
            }
        }
    }
}

// Every tile of row r, with the faces asked for, noting where each starts in *first.
static void add_row(std::vector<int>* first, int r, float h, cube_faces_t faces) {
    for (int c = 0; c <= built_width; c++) {
        (*first)[(size_t)r * (built_width + 1) + c] = (int)(vertex_pos.size() / 3);
        if (c == built_width)
            break;
        // the reference's order: a wall's raised cube first
        if (has_cube(r, c, 1))
            add_cube(r, c, 1, h, faces);
        if (has_cube(r, c, 0))
            add_cube(r, c, 0, h, faces);
    }
}

static void add_tiles(std::vector<int>* first, float h, cube_faces_t faces) {
    first->assign((size_t)built_height * (built_width + 1), 0);
    for (int r = 0; r < built_height; r++)
        add_row(first, r, h, faces);
}

// Tiles c and c + 1 of a row whose tops one quad may draw: alike.
static bool tops_join(int r, int c, int storey) { return later_twin_covers(r, c, storey, top, 0); }

static void add_top_quad(int r, int c0, int c1, int storey, float h) {
    float size = tile_cube_size(h);
    float lo[2] = {tile_centre(c0, h) - size, tile_centre(r, h) - size};
    float hi[2] = {top_end(r, c1, storey, 0, h), tile_centre(r, h) + size};
    float z = (storey ? WALL_LIFT : 0.0f) + size;
    for (int v = 0; v < 4; v++) {
        vertex_pos.push_back(cube_corner[top][v][0] > 0 ? hi[0] : lo[0]);
        vertex_pos.push_back(cube_corner[top][v][1] > 0 ? hi[1] : lo[1]);
        vertex_pos.push_back(z);
        for (int i = 0; i < 3; i++)
            vertex_normal.push_back(cube_normal[top][i] / size);
    }
}

static void add_top_runs(int r, int storey, float h) {
    for (int c0 = 0; c0 < built_width; c0++) {
        if (!has_top(r, c0, storey))
            continue;
        int c1 = c0;
        while (c1 - c0 + 1 < MERGE_MOST && tops_join(r, c1, storey))
            c1++;
        top_runs.push_back({c0, c1, (int)(vertex_pos.size() / 3)});
        add_top_quad(r, c0, c1, storey, h);
        c0 = c1;
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
    add_tiles(&tile_first, h, FACES_SEEN_FROM_ABOVE);
    add_tiles(&below_first, h, FACES_OUTSIDE);
    add_tiles(&whole_first, h, FACES_ALL);
    // the far form: each row's merged tops, then its tiles' other faces
    side_first.assign((size_t)built_height * (built_width + 1), 0);
    top_runs.clear();
    row_runs.assign(built_height + 1, 0);
    for (int r = 0; r < built_height; r++) {
        row_runs[r] = (int)top_runs.size();
        for (int storey = 1; storey >= 0; storey--)
            add_top_runs(r, storey, h);
        add_row(&side_first, r, h, FACES_BUT_TOP);
    }
    row_runs[built_height] = (int)top_runs.size();
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

// Tiles whose cubes the view shows from inside, drawn whole: the window's near edge of the
// view passes through them (the ship falling through the track); a cube round the eye alone
// lies wholly before that edge. Their neighbours' faces inside them show too: those are drawn
// whole, their faces turned away culled, as the eye is outside them.
struct tile_rect_t {
    int  r0, r1, c0, c1;   // none when r0 > r1
    bool holds(int r, int c) const { return r >= r0 && r <= r1 && c >= c0 && c <= c1; }
};

static tile_rect_t tiles_seen_from_inside(const view_planes_t& v) {
    float lo[3], hi[3];
    for (int i = 0; i < 3; i++)
        lo[i] = hi[i] = v.near_corner[0][i];
    for (int k = 1; k < 4; k++)
        for (int i = 0; i < 3; i++)
            lo[i] = fminf(lo[i], v.near_corner[k][i]), hi[i] = fmaxf(hi[i], v.near_corner[k][i]);
    tile_rect_t seen = {1, 0, 1, 0};
    float       h = (float)built_height;
    float       size = tile_cube_size(h) + 1e-5f;
    if (lo[2] > WALL_LIFT + size || hi[2] < -size)
        return seen;
    int r0 = (int)fmaxf(floorf(lo[1] * h) - 1, 0), r1 = (int)fminf(ceilf(hi[1] * h) + 1, built_height - 1);
    int c0 = (int)fmaxf(floorf(lo[0] * h) - 1, 0), c1 = (int)fminf(ceilf(hi[0] * h) + 1, built_width - 1);
    for (int r = r0; r <= r1; r++)
        for (int c = c0; c <= c1; c++) {
            float top = kind_at(r, c) == TILE_WALL ? WALL_LIFT + size : size;
            if (kind_at(r, c) != TILE_GAP &&
                fabsf(tile_centre(c, h) - (lo[0] + hi[0]) / 2) <= size + (hi[0] - lo[0]) / 2 &&
                fabsf(tile_centre(r, h) - (lo[1] + hi[1]) / 2) <= size + (hi[1] - lo[1]) / 2 && lo[2] <= top) {
                if (seen.r0 > seen.r1)
                    seen = {r, r, c, c};
                seen = {std::min(seen.r0, r), std::max(seen.r1, r), std::min(seen.c0, c), std::max(seen.c1, c)};
            }
        }
    return seen;
}

static tile_rect_t with_neighbours(const tile_rect_t& t) { return {t.r0 - 1, t.r1 + 1, t.c0 - 1, t.c1 + 1}; }

// How the eye sees the track: from above, as most frames, or from below its floor's middle.
enum track_view_t { VIEW_FROM_ABOVE, VIEW_FROM_BELOW };

// Draws the cubes of each row's visible columns, runs of vertices that follow each other
// in one material and culling in one call. From above, rows away from the ship with their
// tops merged; from below, each cube's outer faces; those seen from inside and their
// neighbours, whole. Near-black cubes are culled where cull says: a green top loses its
// outline's pixels to the faces behind it in the reference.
static void draw_cubes(const std::vector<int>& row_first, const std::vector<int>& row_last, track_view_t view,
                       bool cull, const tile_rect_t& inside) {
    tile_rect_t  near_inside = with_neighbours(inside);
    const float* current = nullptr;
    bool         culled = false;
    int          run_first = 0, run_end = 0;
    auto         flush = [&]() {
        if (run_end > run_first)
            glDrawArrays(GL_QUADS, run_first, run_end - run_first);
        run_first = run_end;
    };
    auto add = [&](int first, int end, const float* m, bool may_cull) {
        if (end == first)
            return;
        bool cull_run = may_cull && m == NEAR_BLACK;
        if (m != current || cull_run != culled || first != run_end) {
            flush();
            run_first = run_end = first;
            if (m != current)
                set_material(m, NEAR_BLACK);
            if (cull_run)
                glEnable(GL_CULL_FACE);
            else
                glDisable(GL_CULL_FACE);
            current = m, culled = cull_run;
        }
        run_end = end;
    };
    // the cubes seen from inside first: nearest the eye, they hide most of what follows
    for (int r = std::max(near_inside.r0, 0); r <= std::min(near_inside.r1, built_height - 1); r++)
        for (int c = std::max(row_first[r], near_inside.c0); c <= std::min(row_last[r], near_inside.c1); c++) {
            size_t at = (size_t)r * (built_width + 1) + c;
            add(whole_first[at], whole_first[at + 1], material_of(kind_at(r, c)), !inside.holds(r, c));
        }
    float h = (float)built_height;
    for (int r = 0; r < built_height; r++) {
        bool by_ship = fabsf(tile_centre(r, h) - game.ship.pos[1]) < MERGE_FROM;
        bool merged = view == VIEW_FROM_ABOVE && !by_ship && !(r >= near_inside.r0 && r <= near_inside.r1);
        if (merged) {
            for (int k = row_runs[r]; k < row_runs[r + 1]; k++) {
                const top_run_t& run = top_runs[k];
                if (run.c1 >= row_first[r] && run.c0 <= row_last[r])
                    add(run.first, run.first + 4, material_of(kind_at(r, run.c0)), cull);
            }
        }
        const std::vector<int>& firsts = view == VIEW_FROM_BELOW ? below_first : merged ? side_first : tile_first;
        for (int c = row_first[r]; c <= row_last[r]; c++) {
            size_t at = (size_t)r * (built_width + 1) + c;
            if (!near_inside.holds(r, c))
                add(firsts[at], firsts[at + 1], material_of(kind_at(r, c)), cull);
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
    // floor's middle the undersides face the eye, and from inside a cube any face may
    track_view_t view = v.eye[2] < 0 ? VIEW_FROM_BELOW : VIEW_FROM_ABOVE;
    tile_rect_t  inside = tiles_seen_from_inside(v);

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
    // to an eye outside a cube, a face turned away lies behind a face of it turned to the eye:
    // above every top, or below every underside
    draw_cubes(row_first, row_last, view, v.eye[2] > WALL_LIFT || view == VIEW_FROM_BELOW, inside);
    glDisable(GL_CULL_FACE);
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
