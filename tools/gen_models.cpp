// quovix-gen-models: writes the ship, star and heart meshes as Wavefront OBJ.
// Usage: quovix-gen-models <outdir>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct vec3 {
    double x, y, z;
};

struct tri {
    vec3 p[3];
};

typedef std::vector<tri> mesh_t;
typedef std::vector<vec3> ring_t;

static const double PI = 3.14159265358979323846;

static vec3 V(double x, double y, double z)
{
    vec3 v = {x, y, z};
    return v;
}

static vec3 Sub(vec3 a, vec3 b) { return V(a.x - b.x, a.y - b.y, a.z - b.z); }
static vec3 Add(vec3 a, vec3 b) { return V(a.x + b.x, a.y + b.y, a.z + b.z); }
static vec3 Scale(vec3 a, double s) { return V(a.x * s, a.y * s, a.z * s); }
static double Dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

static vec3 Cross(vec3 a, vec3 b)
{
    return V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

static double Length(vec3 a) { return std::sqrt(Dot(a, a)); }

static vec3 TriNormal(const tri &t)
{
    vec3 n = Cross(Sub(t.p[1], t.p[0]), Sub(t.p[2], t.p[0]));
    double l = Length(n);
    return l > 0.0 ? Scale(n, 1.0 / l) : V(0, 1, 0);
}

// Adds a triangle facing away from 'inside'; slivers from collapsed rings are dropped.
static void AddTri(mesh_t &m, vec3 a, vec3 b, vec3 c, vec3 inside)
{
    tri t = {{a, b, c}};
    vec3 n = Cross(Sub(b, a), Sub(c, a));
    if (Length(n) < 1e-12)
        return;
    vec3 mid = Scale(Add(Add(a, b), c), 1.0 / 3.0);
    if (Dot(n, Sub(mid, inside)) < 0.0) {
        t.p[1] = c;
        t.p[2] = b;
    }
    m.push_back(t);
}

static vec3 RingCenter(const ring_t &r)
{
    vec3 c = V(0, 0, 0);
    for (size_t i = 0; i < r.size(); i++)
        c = Add(c, r[i]);
    return Scale(c, 1.0 / r.size());
}

// Convex solid spanned between two matching rings, capped at both ends.
static void Loft(mesh_t &m, const ring_t &a, const ring_t &b)
{
    vec3 ca = RingCenter(a), cb = RingCenter(b);
    vec3 inside = Scale(Add(ca, cb), 0.5);
    size_t n = a.size();
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        AddTri(m, a[i], a[j], b[j], inside);
        AddTri(m, a[i], b[j], b[i], inside);
    }
    for (size_t i = 1; i + 1 < n; i++) {
        AddTri(m, a[0], a[i], a[i + 1], inside);
        AddTri(m, b[0], b[i], b[i + 1], inside);
    }
}

// Cross-section of the hull at station x: a flattened hexagon.
static ring_t HullRing(double x, double bot, double top, double half)
{
    double mid = bot + (top - bot) * 0.45;
    ring_t r;
    r.push_back(V(x, bot, -half * 0.6));
    r.push_back(V(x, bot, half * 0.6));
    r.push_back(V(x, mid, half));
    r.push_back(V(x, top, half * 0.55));
    r.push_back(V(x, top, -half * 0.55));
    r.push_back(V(x, mid, -half));
    return r;
}

static void Hull(mesh_t &m)
{
    ring_t tail = HullRing(-0.030, 0.0008, 0.0100, 0.0085);
    ring_t mid = HullRing(0.002, 0.0005, 0.0110, 0.0080);
    ring_t fore = HullRing(0.020, 0.0015, 0.0085, 0.0050);
    ring_t nose;
    for (int i = 0; i < 6; i++)
        nose.push_back(V(0.036, 0.0040, 0.0));
    Loft(m, tail, mid);
    Loft(m, mid, fore);
    Loft(m, fore, nose);
}

// Canopy bubble sitting on the hull's upper deck.
static void Cockpit(mesh_t &m)
{
    ring_t back, front;
    back.push_back(V(-0.010, 0.0100, -0.0040));
    back.push_back(V(-0.010, 0.0100, 0.0040));
    back.push_back(V(-0.010, 0.0150, 0.0025));
    back.push_back(V(-0.010, 0.0150, -0.0025));
    // the canopy runs out to a knife edge across the nose
    front.push_back(V(0.016, 0.0090, -0.0030));
    front.push_back(V(0.016, 0.0090, 0.0030));
    front.push_back(V(0.016, 0.0090, 0.0030));
    front.push_back(V(0.016, 0.0090, -0.0030));
    Loft(m, back, front);
}

// Swept wing on side s (+1 or -1) with a diamond aerofoil section.
static void Wing(mesh_t &m, double s)
{
    ring_t root, tip;
    root.push_back(V(0.010, 0.0040, 0.0065 * s));
    root.push_back(V(-0.006, 0.0058, 0.0065 * s));
    root.push_back(V(-0.024, 0.0045, 0.0065 * s));
    root.push_back(V(-0.006, 0.0028, 0.0065 * s));
    tip.push_back(V(-0.014, 0.0030, 0.0280 * s));
    tip.push_back(V(-0.021, 0.0038, 0.0280 * s));
    tip.push_back(V(-0.029, 0.0030, 0.0280 * s));
    tip.push_back(V(-0.021, 0.0024, 0.0280 * s));
    Loft(m, root, tip);
}

// Wingtip pod that makes the span readable from behind.
static void TipPod(mesh_t &m, double s)
{
    double z = 0.0275 * s;
    ring_t back, front;
    back.push_back(V(-0.030, 0.0020, z - 0.0012));
    back.push_back(V(-0.030, 0.0020, z + 0.0012));
    back.push_back(V(-0.030, 0.0044, z + 0.0012));
    back.push_back(V(-0.030, 0.0044, z - 0.0012));
    for (int i = 0; i < 4; i++)
        front.push_back(V(-0.008, 0.0032, z));
    Loft(m, back, front);
}

// Tail fin canted outwards on side s.
static void Fin(mesh_t &m, double s)
{
    ring_t base, top;
    base.push_back(V(-0.006, 0.0095, 0.0040 * s));
    base.push_back(V(-0.028, 0.0098, 0.0034 * s));
    base.push_back(V(-0.028, 0.0098, 0.0050 * s));
    top.push_back(V(-0.024, 0.0185, 0.0070 * s));
    top.push_back(V(-0.031, 0.0185, 0.0068 * s));
    top.push_back(V(-0.031, 0.0185, 0.0076 * s));
    Loft(m, base, top);
}

// Engine nacelle at the back, side s, seen as a block from the chase camera.
static void Engine(mesh_t &m, double s)
{
    double zi = 0.0045 * s, zo = 0.0115 * s;
    ring_t back, front;
    back.push_back(V(-0.034, 0.0012, zi));
    back.push_back(V(-0.034, 0.0012, zo));
    back.push_back(V(-0.034, 0.0068, zo));
    back.push_back(V(-0.034, 0.0068, zi));
    front.push_back(V(-0.012, 0.0020, zi));
    front.push_back(V(-0.012, 0.0020, zo - 0.0020 * s));
    front.push_back(V(-0.012, 0.0058, zo - 0.0020 * s));
    front.push_back(V(-0.012, 0.0058, zi));
    Loft(m, back, front);
}

static mesh_t Ship()
{
    mesh_t m;
    Hull(m);
    Cockpit(m);
    for (int side = -1; side <= 1; side += 2) {
        Wing(m, side);
        TipPod(m, side);
        Fin(m, side);
        Engine(m, side);
    }
    return m;
}

static vec3 RollX(vec3 p, double a, double cy)
{
    double y = p.y - cy, c = std::cos(a), s = std::sin(a);
    return V(p.x, cy + y * c - p.z * s, y * s + p.z * c);
}

// Rolls the ship about its long axis; a negative angle drops the -z wing.
// The result is lifted so it never dips below the unbanked hull bottom.
static mesh_t Bank(const mesh_t &src, double deg)
{
    double a = deg * PI / 180.0, lowest = 1e9, lowest0 = 1e9;
    mesh_t m = src;
    for (size_t i = 0; i < m.size(); i++) {
        for (int k = 0; k < 3; k++) {
            lowest0 = std::fmin(lowest0, m[i].p[k].y);
            m[i].p[k] = RollX(m[i].p[k], a, 0.006);
            lowest = std::fmin(lowest, m[i].p[k].y);
        }
    }
    for (size_t i = 0; i < m.size(); i++)
        for (int k = 0; k < 3; k++)
            m[i].p[k].y += lowest0 - lowest;
    return m;
}

// Extrudes a star-shaped outline (CCW in x-z, seen from -y) to thickness d along y.
static mesh_t Extrude(const std::vector<vec3> &outline, vec3 centre, double d)
{
    mesh_t m;
    size_t n = outline.size();
    vec3 fc = V(centre.x, -d / 2, centre.z), bc = V(centre.x, d / 2, centre.z);
    vec3 inside = V(centre.x, 0, centre.z);
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        vec3 a = outline[i], b = outline[j];
        vec3 af = V(a.x, -d / 2, a.z), bf = V(b.x, -d / 2, b.z);
        vec3 ab = V(a.x, d / 2, a.z), bb = V(b.x, d / 2, b.z);
        AddTri(m, fc, af, bf, V(centre.x, 1, centre.z));
        AddTri(m, bc, bb, ab, V(centre.x, -1, centre.z));
        // side walls: the midpoint of the edge pulled back to the centre is inside
        vec3 emid = Scale(Add(a, b), 0.5);
        vec3 in = Add(V(emid.x, 0, emid.z), Scale(Sub(inside, V(emid.x, 0, emid.z)), 0.01));
        AddTri(m, af, bf, bb, in);
        AddTri(m, af, bb, ab, in);
    }
    return m;
}

static mesh_t Star()
{
    std::vector<vec3> o;
    for (int i = 0; i < 10; i++) {
        double a = PI / 2 + i * PI / 5;
        double r = (i % 2) ? 0.00042 : 0.00105;
        o.push_back(V(r * std::cos(a), 0, r * std::sin(a)));
    }
    return Extrude(o, V(0, 0, 0), 0.0004);
}

static mesh_t Heart()
{
    std::vector<vec3> o;
    const int steps = 48;
    const double k = 0.001 / 16.0, shift = 2.5;
    for (int i = 0; i < steps; i++) {
        double t = -2.0 * PI * i / steps;
        double s = std::sin(t);
        double x = 16.0 * s * s * s;
        double z = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
        o.push_back(V(x * k, 0, (z + shift) * k));
    }
    return Extrude(o, V(0, 0, 1.0 * k), 0.0004);
}

static std::string Num(double v)
{
    char buf[32];
    if (std::fabs(v) < 5e-7)
        v = 0.0;
    std::snprintf(buf, sizeof(buf), "%.6f", v);
    return buf;
}

// Planar texture coordinates: x/z for the pickups, x/z of the ship's top view.
static void WriteObj(const std::string &path, const mesh_t &m, const char *what, bool zup)
{
    FILE *f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fprintf(f, "# Quovix %s\n# %zu triangles\n", what, m.size());
    for (size_t i = 0; i < m.size(); i++) {
        for (int k = 0; k < 3; k++) {
            vec3 p = m[i].p[k];
            std::fprintf(f, "v %s %s %s\n", Num(p.x).c_str(), Num(p.y).c_str(), Num(p.z).c_str());
        }
    }
    for (size_t i = 0; i < m.size(); i++) {
        for (int k = 0; k < 3; k++) {
            vec3 p = m[i].p[k];
            double s = zup ? p.x / 0.0022 + 0.5 : p.x / 0.07 + 0.5;
            double t = zup ? p.z / 0.0022 + 0.5 : p.z / 0.06 + 0.5;
            std::fprintf(f, "vt %s %s\n", Num(s).c_str(), Num(t).c_str());
        }
    }
    for (size_t i = 0; i < m.size(); i++) {
        vec3 n = TriNormal(m[i]);
        std::fprintf(f, "vn %s %s %s\n", Num(n.x).c_str(), Num(n.y).c_str(), Num(n.z).c_str());
    }
    for (size_t i = 0; i < m.size(); i++) {
        size_t b = i * 3 + 1, n = i + 1;
        std::fprintf(f, "f %zu/%zu/%zu %zu/%zu/%zu %zu/%zu/%zu\n",
                     b, b, n, b + 1, b + 1, n, b + 2, b + 2, n);
    }
    std::fclose(f);
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <outdir>\n", argv[0]);
        return 1;
    }
    std::string dir = argv[1];
    mesh_t ship = Ship();
    WriteObj(dir + "/spaceship.obj", ship, "ship", false);
    WriteObj(dir + "/spaceshipleft.obj", Bank(ship, -22.0), "ship banking left", false);
    WriteObj(dir + "/spaceshipright.obj", Bank(ship, 22.0), "ship banking right", false);
    WriteObj(dir + "/star.obj", Star(), "star", true);
    WriteObj(dir + "/heart.obj", Heart(), "heart", true);
    return 0;
}
