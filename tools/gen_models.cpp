// quovix-gen-models: writes the ship, star and heart meshes as Wavefront OBJ.
// Usage: quovix-gen-models <outdir>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/startup.h"
#include "game/levelmap.h"
#include "platform/platform.h"

struct vec3_t {
    double x, y, z;
};

struct tri_t {
    vec3_t p[3];
};

typedef std::vector<tri_t>  mesh_t;
typedef std::vector<vec3_t> ring_t;

static const double PI = 3.14159265358979323846;

static vec3_t vec(double x, double y, double z) {
    vec3_t v = {x, y, z};
    return v;
}

static vec3_t sub(vec3_t a, vec3_t b) { return vec(a.x - b.x, a.y - b.y, a.z - b.z); }
static vec3_t add(vec3_t a, vec3_t b) { return vec(a.x + b.x, a.y + b.y, a.z + b.z); }
static vec3_t scaled(vec3_t a, double s) { return vec(a.x * s, a.y * s, a.z * s); }
static double dot(vec3_t a, vec3_t b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

static vec3_t cross(vec3_t a, vec3_t b) {
    return vec(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

static double length(vec3_t a) { return std::sqrt(dot(a, a)); }

static vec3_t tri_normal(const tri_t& t) {
    vec3_t n = cross(sub(t.p[1], t.p[0]), sub(t.p[2], t.p[0]));
    double l = length(n);
    return l > 0.0 ? scaled(n, 1.0 / l) : vec(0, 1, 0);
}

// Adds a triangle facing away from 'inside'; slivers from collapsed rings are dropped.
static void add_tri(mesh_t& m, vec3_t a, vec3_t b, vec3_t c, vec3_t inside) {
    tri_t  t = {{a, b, c}};
    vec3_t n = cross(sub(b, a), sub(c, a));
    if (length(n) < 1e-12)
        return;
    vec3_t mid = scaled(add(add(a, b), c), 1.0 / 3.0);
    if (dot(n, sub(mid, inside)) < 0.0) {
        t.p[1] = c;
        t.p[2] = b;
    }
    m.push_back(t);
}

static vec3_t ring_center(const ring_t& r) {
    vec3_t c = vec(0, 0, 0);
    for (size_t i = 0; i < r.size(); i++)
        c = add(c, r[i]);
    return scaled(c, 1.0 / r.size());
}

// Convex solid spanned between two matching rings, capped at both ends.
static void loft(mesh_t& m, const ring_t& a, const ring_t& b) {
    vec3_t ca = ring_center(a), cb = ring_center(b);
    vec3_t inside = scaled(add(ca, cb), 0.5);
    size_t n = a.size();
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        add_tri(m, a[i], a[j], b[j], inside);
        add_tri(m, a[i], b[j], b[i], inside);
    }
    for (size_t i = 1; i + 1 < n; i++) {
        add_tri(m, a[0], a[i], a[i + 1], inside);
        add_tri(m, b[0], b[i], b[i + 1], inside);
    }
}

// Cross-section of the hull at station x: a flattened hexagon.
static ring_t hull_ring(double x, double bot, double top, double half) {
    double mid = bot + (top - bot) * 0.45;
    ring_t r;
    r.push_back(vec(x, bot, -half * 0.6));
    r.push_back(vec(x, bot, half * 0.6));
    r.push_back(vec(x, mid, half));
    r.push_back(vec(x, top, half * 0.55));
    r.push_back(vec(x, top, -half * 0.55));
    r.push_back(vec(x, mid, -half));
    return r;
}

static void hull(mesh_t& m) {
    ring_t tail = hull_ring(-0.030, 0.0008, 0.0100, 0.0085);
    ring_t mid = hull_ring(0.002, 0.0005, 0.0110, 0.0080);
    ring_t fore = hull_ring(0.020, 0.0015, 0.0085, 0.0050);
    ring_t nose;
    for (int i = 0; i < 6; i++)
        nose.push_back(vec(0.036, 0.0040, 0.0));
    loft(m, tail, mid);
    loft(m, mid, fore);
    loft(m, fore, nose);
}

// Canopy bubble sitting on the hull's upper deck.
static void cockpit(mesh_t& m) {
    ring_t back, front;
    back.push_back(vec(-0.010, 0.0100, -0.0040));
    back.push_back(vec(-0.010, 0.0100, 0.0040));
    back.push_back(vec(-0.010, 0.0150, 0.0025));
    back.push_back(vec(-0.010, 0.0150, -0.0025));
    // the canopy runs out to a knife edge across the nose
    front.push_back(vec(0.016, 0.0090, -0.0030));
    front.push_back(vec(0.016, 0.0090, 0.0030));
    front.push_back(vec(0.016, 0.0090, 0.0030));
    front.push_back(vec(0.016, 0.0090, -0.0030));
    loft(m, back, front);
}

// Swept wing on side s (+1 or -1) with a diamond aerofoil section.
static void wing(mesh_t& m, double s) {
    ring_t root, tip;
    root.push_back(vec(0.010, 0.0040, 0.0065 * s));
    root.push_back(vec(-0.006, 0.0058, 0.0065 * s));
    root.push_back(vec(-0.024, 0.0045, 0.0065 * s));
    root.push_back(vec(-0.006, 0.0028, 0.0065 * s));
    tip.push_back(vec(-0.014, 0.0030, 0.0280 * s));
    tip.push_back(vec(-0.021, 0.0038, 0.0280 * s));
    tip.push_back(vec(-0.029, 0.0030, 0.0280 * s));
    tip.push_back(vec(-0.021, 0.0024, 0.0280 * s));
    loft(m, root, tip);
}

// Wingtip pod that makes the span readable from behind.
static void tip_pod(mesh_t& m, double s) {
    double z = 0.0275 * s;
    ring_t back, front;
    back.push_back(vec(-0.030, 0.0020, z - 0.0012));
    back.push_back(vec(-0.030, 0.0020, z + 0.0012));
    back.push_back(vec(-0.030, 0.0044, z + 0.0012));
    back.push_back(vec(-0.030, 0.0044, z - 0.0012));
    for (int i = 0; i < 4; i++)
        front.push_back(vec(-0.008, 0.0032, z));
    loft(m, back, front);
}

// Tail fin canted outwards on side s.
static void fin(mesh_t& m, double s) {
    ring_t base, top;
    base.push_back(vec(-0.006, 0.0095, 0.0040 * s));
    base.push_back(vec(-0.028, 0.0098, 0.0034 * s));
    base.push_back(vec(-0.028, 0.0098, 0.0050 * s));
    top.push_back(vec(-0.024, 0.0185, 0.0070 * s));
    top.push_back(vec(-0.031, 0.0185, 0.0068 * s));
    top.push_back(vec(-0.031, 0.0185, 0.0076 * s));
    loft(m, base, top);
}

// engine nacelle at the back, side s, seen as a block from the chase camera.
static void engine(mesh_t& m, double s) {
    double zi = 0.0045 * s, zo = 0.0115 * s;
    ring_t back, front;
    back.push_back(vec(-0.034, 0.0012, zi));
    back.push_back(vec(-0.034, 0.0012, zo));
    back.push_back(vec(-0.034, 0.0068, zo));
    back.push_back(vec(-0.034, 0.0068, zi));
    front.push_back(vec(-0.012, 0.0020, zi));
    front.push_back(vec(-0.012, 0.0020, zo - 0.0020 * s));
    front.push_back(vec(-0.012, 0.0058, zo - 0.0020 * s));
    front.push_back(vec(-0.012, 0.0058, zi));
    loft(m, back, front);
}

static mesh_t ship_mesh() {
    mesh_t m;
    hull(m);
    cockpit(m);
    for (int side = -1; side <= 1; side += 2) {
        wing(m, side);
        tip_pod(m, side);
        fin(m, side);
        engine(m, side);
    }
    return m;
}

static vec3_t roll_x(vec3_t p, double a, double cy) {
    double y = p.y - cy, c = std::cos(a), s = std::sin(a);
    return vec(p.x, cy + y * c - p.z * s, y * s + p.z * c);
}

// Rolls the ship about its long axis; a negative angle drops the -z wing.
// The result is lifted so it never dips below the unbanked hull bottom.
static mesh_t banked(const mesh_t& src, double deg) {
    double a = deg * PI / 180.0, lowest = 1e9, lowest0 = 1e9;
    mesh_t m = src;
    for (size_t i = 0; i < m.size(); i++) {
        for (int k = 0; k < 3; k++) {
            lowest0 = std::fmin(lowest0, m[i].p[k].y);
            m[i].p[k] = roll_x(m[i].p[k], a, 0.006);
            lowest = std::fmin(lowest, m[i].p[k].y);
        }
    }
    for (size_t i = 0; i < m.size(); i++)
        for (int k = 0; k < 3; k++)
            m[i].p[k].y += lowest0 - lowest;
    return m;
}

// Extrudes a star-shaped outline (CCW in x-z, seen from -y) to thickness d along y.
static mesh_t extrude(const std::vector<vec3_t>& outline, vec3_t centre, double d) {
    mesh_t m;
    size_t n = outline.size();
    vec3_t fc = vec(centre.x, -d / 2, centre.z), bc = vec(centre.x, d / 2, centre.z);
    vec3_t inside = vec(centre.x, 0, centre.z);
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        vec3_t a = outline[i], b = outline[j];
        vec3_t af = vec(a.x, -d / 2, a.z), bf = vec(b.x, -d / 2, b.z);
        vec3_t ab = vec(a.x, d / 2, a.z), bb = vec(b.x, d / 2, b.z);
        add_tri(m, fc, af, bf, vec(centre.x, 1, centre.z));
        add_tri(m, bc, bb, ab, vec(centre.x, -1, centre.z));
        // side walls: the midpoint of the edge pulled back to the centre is inside
        vec3_t emid = scaled(add(a, b), 0.5);
        vec3_t in = add(vec(emid.x, 0, emid.z), scaled(sub(inside, vec(emid.x, 0, emid.z)), 0.01));
        add_tri(m, af, bf, bb, in);
        add_tri(m, af, bb, ab, in);
    }
    return m;
}

static mesh_t star_mesh() {
    std::vector<vec3_t> o;
    for (int i = 0; i < 10; i++) {
        double a = PI / 2 + i * PI / 5;
        double r = (i % 2) ? 0.00042 : 0.00105;
        o.push_back(vec(r * std::cos(a), 0, r * std::sin(a)));
    }
    return extrude(o, vec(0, 0, 0), 0.0004);
}

static mesh_t heart_mesh() {
    std::vector<vec3_t> o;
    const int           steps = 48;
    const double        k = 0.001 / 16.0, shift = 2.5;
    for (int i = 0; i < steps; i++) {
        double t = -2.0 * PI * i / steps;
        double s = std::sin(t);
        double x = 16.0 * s * s * s;
        double z = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
        o.push_back(vec(x * k, 0, (z + shift) * k));
    }
    return extrude(o, vec(0, 0, 1.0 * k), 0.0004);
}

static std::string num_text(double v) {
    char buf[32];
    if (std::fabs(v) < 5e-7)
        v = 0.0;
    std::snprintf(buf, sizeof(buf), "%.6f", v);
    return buf;
}

// Planar texture coordinates: x/z for the pickups, x/z of the ship's top view.
static void write_obj(const std::string& path, const mesh_t& m, const char* what, bool zup) {
    // the text is made in memory and written whole, like every file
    char*  text = nullptr;
    size_t size = 0;
    FILE*  f = open_memstream(&text, &size);
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fprintf(f, "# Quovix %s\n# %zu triangles\n", what, m.size());
    for (size_t i = 0; i < m.size(); i++) {
        for (int k = 0; k < 3; k++) {
            vec3_t p = m[i].p[k];
            std::fprintf(f, "v %s %s %s\n", num_text(p.x).c_str(), num_text(p.y).c_str(), num_text(p.z).c_str());
        }
    }
    for (size_t i = 0; i < m.size(); i++) {
        for (int k = 0; k < 3; k++) {
            vec3_t p = m[i].p[k];
            double s = zup ? p.x / 0.0022 + 0.5 : p.x / 0.07 + 0.5;
            double t = zup ? p.z / 0.0022 + 0.5 : p.z / 0.06 + 0.5;
            std::fprintf(f, "vt %s %s\n", num_text(s).c_str(), num_text(t).c_str());
        }
    }
    for (size_t i = 0; i < m.size(); i++) {
        vec3_t n = tri_normal(m[i]);
        std::fprintf(f, "vn %s %s %s\n", num_text(n.x).c_str(), num_text(n.y).c_str(), num_text(n.z).c_str());
    }
    for (size_t i = 0; i < m.size(); i++) {
        size_t b = i * 3 + 1, n = i + 1;
        std::fprintf(f, "f %zu/%zu/%zu %zu/%zu/%zu %zu/%zu/%zu\n", b, b, n, b + 1, b + 1, n, b + 2, b + 2, n);
    }
    std::string why;
    bool        written = std::fclose(f) == 0 && platform_write_file(path.c_str(), text, size, &why);
    std::free(text);
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <outdir>\n", argv[0]);
        return 1;
    }
    std::string dir = argv[1];
    mesh_t      ship = ship_mesh();
    // in the order of the game's model files: straight, banked left, banked right, star, heart
    const struct {
        mesh_t      mesh;
        const char* what;
        bool        zup;
    } models[MODEL_COUNT] = {
        {ship, "ship", false},
        {banked(ship, -22.0), "ship banking left", false},
        {banked(ship, 22.0), "ship banking right", false},
        {star_mesh(), "star", true},
        {heart_mesh(), "heart", true},
    };
    for (int i = 0; i < MODEL_COUNT; i++)
        write_obj(dir + "/" + resource_name(model_files[i].path), models[i].mesh, models[i].what, models[i].zup);
    return 0;
}
