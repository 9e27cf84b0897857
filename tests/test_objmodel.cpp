#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/objmodel.h"

namespace {

obj_model_t parse_text(const std::string& text) {
    obj_model_t m;
    FILE* f = tmpfile();
    EXPECT_NE(f, nullptr);
    fputs(text.c_str(), f);
    rewind(f);
    parse_obj(f, &m);
    return m;
}

std::vector<obj_vertex_t> triangles_of(const std::string& text) { return obj_triangles(parse_text(text)); }

const char* const three_vertices =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
    "vt 0.1 0.2\nvt 0.3 0.4\nvt 0.5 0.6\n"
    "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";

void expect_corner(const obj_corner_t& c, int p, int t, int n) {
    EXPECT_EQ(c.position, p);
    EXPECT_EQ(c.texcoord, t);
    EXPECT_EQ(c.normal, n);
}

bool same(const std::vector<obj_vertex_t>& a, const std::vector<obj_vertex_t>& b) {
    return a.size() == b.size() && memcmp(a.data(), b.data(), a.size() * sizeof(obj_vertex_t)) == 0;
}

}  // namespace

TEST(ObjLines, MissingNumbersAreZeroAndExtraOnesIgnored) {
    obj_model_t m;
    parse_obj_line("v 1.5 2", &m);
    EXPECT_EQ(m.positions, (std::vector<float>{1.5f, 2.0f, 0.0f}));
    parse_obj_line("vt 0.25 0.75 0", &m);
    EXPECT_EQ(m.texcoords, (std::vector<float>{0.25f, 0.75f}));
    parse_obj_line("vn 0 -1", &m);
    EXPECT_EQ(m.normals, (std::vector<float>{0.0f, -1.0f, 0.0f}));
    // a classified line with no numbers still adds an entry, so later indices stay in step
    parse_obj_line("v \n", &m);
    EXPECT_EQ(m.positions.size(), 6u);
    parse_obj_line("f 1/1/1 2/1/1 1/1/1 2/1/1", &m);
    ASSERT_EQ(m.faces.size(), 1u);
    expect_corner(m.faces[0].corner[0], 1, 1, 1);
    expect_corner(m.faces[0].corner[1], 2, 1, 1);
    expect_corner(m.faces[0].corner[2], 1, 1, 1);
}

TEST(ObjLines, OnlyVVtVnAndFLinesCount) {
    obj_model_t m;
    for (const char* line : {"vp 0.5 0.5 1", "# v 1 2 3", "#f 1 2 3", "", "\n", "v\t1 2 3", "f\t1 2 3",
                             "o Ship", "g hull", "s 1", "usemtl steel", "mtllib ship.mtl", " v 1 2 3", "vx 1"})
        parse_obj_line(line, &m);
    EXPECT_TRUE(m.positions.empty());
    EXPECT_TRUE(m.texcoords.empty());
    EXPECT_TRUE(m.normals.empty());
    EXPECT_TRUE(m.faces.empty());
}

TEST(ObjFaces, QuadGivesItsFirstTriangle) {
    std::vector<obj_vertex_t> tri = triangles_of(std::string(three_vertices) + "v 1 1 0\nf 1/1/1 2/2/2 3/3/3 4/1/1\n");
    ASSERT_EQ(tri.size(), 3u);
    EXPECT_EQ(tri[0].x, 0.0f);
    EXPECT_EQ(tri[1].x, 1.0f);
    EXPECT_EQ(tri[2].y, 1.0f);
    EXPECT_EQ(tri[1].s, 0.3f);
    EXPECT_EQ(tri[1].t, 0.4f);
    EXPECT_EQ(tri[2].nx, 1.0f);
    EXPECT_EQ(tri[0].nz, 1.0f);
}

TEST(ObjFaces, FacesBeforeTheirVerticesDrawTheSame) {
    std::string faces = "f 1/1/1 2/2/2 3/3/3\nf 3/3/3 2/2/2 1/1/1\n";
    std::vector<obj_vertex_t> usual = triangles_of(std::string(three_vertices) + faces);
    std::vector<obj_vertex_t> early = triangles_of(faces + three_vertices);
    ASSERT_EQ(usual.size(), 6u);
    EXPECT_TRUE(same(usual, early));
}

TEST(ObjFaces, ShorterCornerFormsLeaveTheMissingPartsZero) {
    std::string base = three_vertices;
    obj_model_t m = parse_text(base + "f 1 2 3\nf 1/2 2/3 3/1\nf 1//3 2//2 3//1\n");
    ASSERT_EQ(m.faces.size(), 3u);
    expect_corner(m.faces[0].corner[2], 3, 0, 0);
    expect_corner(m.faces[1].corner[0], 1, 2, 0);
    expect_corner(m.faces[2].corner[0], 1, 0, 3);
    std::vector<obj_vertex_t> tri = obj_triangles(m);
    ASSERT_EQ(tri.size(), 9u);
    EXPECT_EQ(tri[0].s, 0.0f);
    EXPECT_EQ(tri[0].nz, 0.0f);
    EXPECT_EQ(tri[1].x, 1.0f);
    EXPECT_EQ(tri[3].s, 0.3f);
    EXPECT_EQ(tri[3].nx, 0.0f);
    EXPECT_EQ(tri[6].s, 0.0f);
    EXPECT_EQ(tri[6].nx, 1.0f);
}

TEST(ObjFaces, NegativeIndicesCountBackFromTheEntriesReadSoFar) {
    std::string base = three_vertices;
    obj_model_t m = parse_text(base + "f -3/-3/-3 -2/-2/-2 -1/-1/-1\nv 5 5 5\nf -1/1/1 -2/1/1 -3/1/1\n");
    ASSERT_EQ(m.faces.size(), 2u);
    expect_corner(m.faces[0].corner[0], 1, 1, 1);
    expect_corner(m.faces[0].corner[2], 3, 3, 3);
    expect_corner(m.faces[1].corner[0], 4, 1, 1);
    std::vector<obj_vertex_t> tri = obj_triangles(m);
    ASSERT_EQ(tri.size(), 6u);
    EXPECT_EQ(tri[3].x, 5.0f);
    EXPECT_EQ(tri[5].x, 1.0f);
}

TEST(ObjFaces, ImpossibleIndicesDropOnlyTheirFace) {
    std::string base = three_vertices;
    const char* bad[] = {
        "f 0/1/1 2/2/2 3/3/3", "f 1/1/1 2/2/2 4/3/3",  "f 1/4/1 2/2/2 3/3/3",
        "f 1/1/4 2/2/2 3/3/3", "f 1/0/1 2/2/2 3/3/3",  "f 1/1/0 2/2/2 3/3/3",
        "f -4/1/1 2/2/2 3/3/3", "f 99999999999/1/1 2/2/2 3/3/3", "f 1/1/1 2/2/2 -99999999999/3/3",
        "f 2147483647/1/1 2/2/2 3/3/3", "f -2147483648/1/1 2/2/2 3/3/3", "f 1/1/1 2/2/2",
        "f", "f x/y/z 1 2",
    };
    for (const char* face : bad) {
        std::vector<obj_vertex_t> tri = triangles_of(base + face + "\nf 1/1/1 2/2/2 3/3/3\n");
        EXPECT_EQ(tri.size(), 3u) << face;
    }
}

TEST(ObjFile, LongLinesComeInPiecesAndLineEndsVary) {
    std::string line = "#" + std::string(126, 'x');
    std::string second = "v 7 8 9";
    second.resize(127, ' ');
    std::string third = "vn 0 0 1";
    third.resize(46, ' ');
    line += second + third;
    ASSERT_EQ(line.size(), 300u);
    obj_model_t m = parse_text(line + "\nv 1 2 3\n");
    EXPECT_EQ(m.positions, (std::vector<float>{7, 8, 9, 1, 2, 3}));
    EXPECT_EQ(m.normals, (std::vector<float>{0, 0, 1}));
    std::vector<obj_vertex_t> tri =
        triangles_of("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nvt 0 1\r\nvn 0 0 1\r\nf 1/1/1 2/1/1 3/1/1\r\n");
    ASSERT_EQ(tri.size(), 3u);
    EXPECT_EQ(tri[2].y, 1.0f);
    EXPECT_EQ(tri[2].nz, 1.0f);
    EXPECT_TRUE(triangles_of("").empty());
    EXPECT_TRUE(triangles_of(three_vertices).empty());
    // a last line without its newline still counts
    EXPECT_EQ(triangles_of(std::string(three_vertices) + "f 1/1/1 2/2/2 3/3/3").size(), 3u);
}
