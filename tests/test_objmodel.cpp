// OBJ models: v, vt, vn and f lines, faces as triangles, bad indices dropped.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/objmodel.h"
#include "support.h"

namespace {

obj_model_t parse_text(const std::string& text) {
    obj_model_t m;
    parse_obj(file_of(std::vector<uint8_t>(text.begin(), text.end())), &m);
    return m;
}

std::vector<obj_vertex_t> triangles_of(const std::string& text) { return obj_triangles(parse_text(text)); }

// A corner as "position/texcoord/normal", a vertex as "x y z/s t/nx ny nz".
std::string text(const obj_corner_t& c) {
    return std::to_string(c.position) + "/" + std::to_string(c.texcoord) + "/" + std::to_string(c.normal);
}

std::string text(const obj_vertex_t& v) {
    char buf[128];
    snprintf(buf, sizeof(buf), "%g %g %g/%g %g/%g %g %g", v.x, v.y, v.z, v.s, v.t, v.nx, v.ny, v.nz);
    return buf;
}

const std::string three_vertices =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.1 0.2\nvt 0.3 0.4\nvt 0.5 0.6\nvn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";

}   // namespace

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
    EXPECT_EQ(text(m.faces[0].corner[0]) + " " + text(m.faces[0].corner[1]) + " " + text(m.faces[0].corner[2]),
              "1/1/1 2/1/1 1/1/1");
}

TEST(ObjLines, OnlyVVtVnAndFLinesCount) {
    obj_model_t m;
    for (const char* line : {"vp 0.5 0.5 1", "# v 1 2 3", "#f 1 2 3", "", "\n", "v\t1 2 3", "f\t1 2 3", "o Ship",
                             "g hull", "s 1", "usemtl steel", "mtllib game.ship.mtl", " v 1 2 3", "vx 1"})
        parse_obj_line(line, &m);
    EXPECT_TRUE(m.positions.empty() && m.texcoords.empty() && m.normals.empty() && m.faces.empty());
}

TEST(ObjFaces, QuadGivesItsFirstTriangleAndFacesMayComeBeforeTheirVertices) {
    std::vector<obj_vertex_t> tri = triangles_of(three_vertices + "v 1 1 0\nf 1/1/1 2/2/2 3/3/3 4/1/1\n");
    ASSERT_EQ(tri.size(), 3u);
    EXPECT_EQ(text(tri[0]), "0 0 0/0.1 0.2/0 0 1");
    EXPECT_EQ(text(tri[1]), "1 0 0/0.3 0.4/0 1 0");
    EXPECT_EQ(text(tri[2]), "0 1 0/0.5 0.6/1 0 0");
    std::string               faces = "f 1/1/1 2/2/2 3/3/3\nf 3/3/3 2/2/2 1/1/1\n";
    std::vector<obj_vertex_t> usual = triangles_of(three_vertices + faces);
    std::vector<obj_vertex_t> early = triangles_of(faces + three_vertices);
    ASSERT_EQ(usual.size(), 6u);
    ASSERT_EQ(early.size(), 6u);
    EXPECT_EQ(memcmp(usual.data(), early.data(), 6 * sizeof(obj_vertex_t)), 0);
}

TEST(ObjFaces, ShorterCornerFormsLeaveTheMissingPartsZero) {
    obj_model_t m = parse_text(three_vertices + "f 1 2 3\nf 1/2 2/3 3/1\nf 1//3 2//2 3//1\n");
    ASSERT_EQ(m.faces.size(), 3u);
    EXPECT_EQ(text(m.faces[0].corner[2]), "3/0/0");
    EXPECT_EQ(text(m.faces[1].corner[0]), "1/2/0");
    EXPECT_EQ(text(m.faces[2].corner[0]), "1/0/3");
    std::vector<obj_vertex_t> tri = obj_triangles(m);
    ASSERT_EQ(tri.size(), 9u);
    EXPECT_EQ(text(tri[1]), "1 0 0/0 0/0 0 0");
    EXPECT_EQ(text(tri[3]), "0 0 0/0.3 0.4/0 0 0");
    EXPECT_EQ(text(tri[6]), "0 0 0/0 0/1 0 0");
}

TEST(ObjFaces, NegativeIndicesCountBackFromTheEntriesReadSoFar) {
    obj_model_t m = parse_text(three_vertices + "f -3/-3/-3 -2/-2/-2 -1/-1/-1\nv 5 5 5\nf -1/1/1 -2/1/1 -3/1/1\n");
    ASSERT_EQ(m.faces.size(), 2u);
    EXPECT_EQ(text(m.faces[0].corner[0]) + " " + text(m.faces[0].corner[2]), "1/1/1 3/3/3");
    EXPECT_EQ(text(m.faces[1].corner[0]), "4/1/1");
    std::vector<obj_vertex_t> tri = obj_triangles(m);
    ASSERT_EQ(tri.size(), 6u);
    EXPECT_EQ(tri[3].x, 5.0f);
    EXPECT_EQ(tri[5].x, 1.0f);
}

TEST(ObjFaces, ImpossibleIndicesDropOnlyTheirFace) {
    for (const char* face :
         {"f 0/1/1 2/2/2 3/3/3", "f 1/1/1 2/2/2 4/3/3", "f 1/4/1 2/2/2 3/3/3", "f 1/1/4 2/2/2 3/3/3",
          "f 1/0/1 2/2/2 3/3/3", "f 1/1/0 2/2/2 3/3/3", "f -4/1/1 2/2/2 3/3/3", "f 99999999999/1/1 2/2/2 3/3/3",
          "f 1/1/1 2/2/2 -99999999999/3/3", "f 2147483647/1/1 2/2/2 3/3/3", "f -2147483648/1/1 2/2/2 3/3/3",
          "f 1/1/1 2/2/2", "f", "f x/y/z 1 2"})
        EXPECT_EQ(triangles_of(three_vertices + face + "\nf 1/1/1 2/2/2 3/3/3\n").size(), 3u) << face;
}

TEST(ObjFile, LongLinesComeInPiecesAndLineEndsVary) {
    std::string second = "v 7 8 9", third = "vn 0 0 1";
    second.resize(127, ' ');
    third.resize(46, ' ');
    std::string line = "#" + std::string(126, 'x') + second + third;
    ASSERT_EQ(line.size(), 300u);
    obj_model_t m = parse_text(line + "\nv 1 2 3\n");
    EXPECT_EQ(m.positions, (std::vector<float>{7, 8, 9, 1, 2, 3}));
    EXPECT_EQ(m.normals, (std::vector<float>{0, 0, 1}));
    std::vector<obj_vertex_t> tri =
        triangles_of("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nvt 0 1\r\nvn 0 0 1\r\nf 1/1/1 2/1/1 3/1/1\r\n");
    ASSERT_EQ(tri.size(), 3u);
    EXPECT_EQ(text(tri[2]), "0 1 0/0 1/0 0 1");
    EXPECT_TRUE(triangles_of("").empty());
    EXPECT_TRUE(triangles_of(three_vertices).empty());
    // a last line without its newline still counts
    EXPECT_EQ(triangles_of(three_vertices + "f 1/1/1 2/2/2 3/3/3").size(), 3u);
}
