#include <tessiv/scene/mesh_io.h>

#include <tessiv/scene/stream_mem.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "stream_helpers.h"

namespace {

using stream_test::MemStream;
using stream_test::Text;
using stream_test::UnsizedStream;

// Vertices, edges, faces, boundary edges and boundary vertices; checks on
// the way what every load must hold whatever the shape: edges match their
// faces, neighbours sit across the shared edge, adjacency lists agree.
std::array<int, 5> Shape(kolt::TMeshBase const &mesh)
{
    std::array<int, 5> shape = {mesh.GetVNum(), mesh.GetENum(), mesh.GetFNum(), 0, 0};
    for (int f = 0; f < mesh.GetFNum(); ++f) {
        kolt::TFace const &face = mesh.GetF(f);
        for (int i = 0; i < 3; ++i) {
            kolt::TEdge const &edge = mesh.GetE(face.GetEdgeRef(i));
            EXPECT_EQ((std::set<int>{edge.GetIndex(0), edge.GetIndex(1)}),
                      (std::set<int>{face.GetIndex(i), face.GetIndex((i + 1) % 3)}))
                << "edge " << i << " of face " << f << " joins corners " << i << " and " << i + 1;
            if (int const neighbour = face.GetAdjacent(i); neighbour >= 0) {
                kolt::TFace const &other = mesh.GetF(neighbour);
                EXPECT_TRUE(other.GetEdgeRef(0) == face.GetEdgeRef(i) || other.GetEdgeRef(1) == face.GetEdgeRef(i) ||
                            other.GetEdgeRef(2) == face.GetEdgeRef(i))
                    << "face " << f << " and its neighbour " << neighbour;
            }
        }
    }
    for (int e = 0; e < mesh.GetENum(); ++e)
        shape[3] += mesh.GetE(e).IsBoundary();
    for (int v = 0; v < mesh.GetVNum(); ++v) {
        shape[4] += mesh.GetV(v).IsOnBoundary();
        for (int k = 0; k < mesh.GetV(v).GetAdjENum(); ++k) {
            kolt::TEdge const &edge = mesh.GetE(mesh.GetV(v).AdjE(k));
            EXPECT_TRUE(edge.GetIndex(0) == v || edge.GetIndex(1) == v);
        }
    }
    return shape;
}

using Counts = std::array<int, 5>;

std::string const kTetrahedronObj =
    "# tetrahedron\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n"
    "f 1 3 2\nf 1 2 4\nf 2 3 4\nf 3 1 4\n";

std::string const kCubeObj =
    "o cube\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "vn 0 0 1\nvt 0.5 0.25\n"
    "f 1/1/1 4/1/1 3/1/1 2/1/1\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

kolt::TMeshBase Load(std::string const &text, kolt::MeshLoadReport (*reader)(kolt::CStreamI &, kolt::TMeshBase &),
                     kolt::MeshLoadReport *report = nullptr)
{
    kolt::CStreamMem stream = MemStream(text);
    kolt::TMeshBase mesh;
    kolt::MeshLoadReport result = reader(stream, mesh);
    if (report != nullptr)
        *report = result;
    return mesh;
}

TEST(MeshIo, TetrahedronIsClosedWithThreeNeighboursEach)
{
    kolt::MeshLoadReport report;
    kolt::TMeshBase mesh = Load(kTetrahedronObj, kolt::ReadObj, &report);
    ASSERT_EQ(Shape(mesh), (Counts{4, 6, 4, 0, 0}));
    EXPECT_EQ(report.skipped_faces, 0);
    EXPECT_EQ(report.non_manifold_edges.size(), 0u);
    EXPECT_TRUE(mesh.HasBoundaryFlagSet() && mesh.IsEdgeLenComp());
    for (int v = 0; v < 4; ++v)
        EXPECT_TRUE(mesh.GetV(v).GetAdjENum() == 3 && mesh.GetV(v).GetAdjFNum() == 3) << "vertex " << v;
    for (int f = 0; f < 4; ++f) {
        kolt::TFace const &face = mesh.GetF(f);
        std::set<int> const neighbours = {face.GetAdjacent(0), face.GetAdjacent(1), face.GetAdjacent(2)};
        EXPECT_TRUE(neighbours.size() == 3 && neighbours.count(f) == 0 && !face.IsBoundary()) << "face " << f;
    }
    // Face 0 (1 3 2) lies in z = 0 and winds clockwise seen from +z.
    EXPECT_DOUBLE_EQ(mesh.GetF(0).Norm().z, -1);
    double const root2 = std::sqrt(2.0);
    EXPECT_DOUBLE_EQ(mesh.GetAverageELen(), (3 + 3 * root2) / 6);
    EXPECT_DOUBLE_EQ(mesh.GetE(mesh.GetF(0).GetEdgeRef(1)).OriLen(), root2);
    // Vertex 0 sees three faces with outward normals -x, -y, -z.
    kolt::Pnt3 const n = mesh.GetV(0).Norm();
    EXPECT_NEAR(n.x, -1 / std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(n.y, n.x, 1e-12);
    EXPECT_NEAR(n.z, n.x, 1e-12);
    EXPECT_EQ(mesh.GetE(0).GetIndex(0), 0) << "edges keep the first face's winding";
    EXPECT_EQ(mesh.GetE(0).GetIndex(1), 2);
}

TEST(MeshIo, CubeQuadsBecomeFansAndNamedAttributesStick)
{
    kolt::TMeshBase mesh = Load(kCubeObj, kolt::ReadObj);
    ASSERT_EQ(Shape(mesh), (Counts{8, 18, 12, 0, 0}));
    EXPECT_EQ(mesh.GetF(0).GetIndex(0), 0);
    EXPECT_EQ(mesh.GetF(0).GetIndex(1), 3);
    EXPECT_EQ(mesh.GetF(1).GetIndex(1), 2);
    EXPECT_EQ(mesh.GetV(3).ST().y, 0.25);
    EXPECT_EQ(mesh.GetV(5).ST().x, 0) << "a position no corner gave coordinates to";
    // Not every position got a normal, so all are computed, weighted by
    // area: the fans put two triangles of the z = 0 and y = 0 sides at
    // vertex 0 and one of the x = 0 side.
    kolt::Pnt3 const n = mesh.GetV(0).Norm();
    EXPECT_NEAR(n.x, -1.0 / 3, 1e-12);
    EXPECT_NEAR(n.y, -2.0 / 3, 1e-12);
    EXPECT_NEAR(n.z, -2.0 / 3, 1e-12);
}

TEST(MeshIo, OpenGridHasItsRimAsBoundary)
{
    // 4 x 4 vertices, 3 x 3 squares split into 18 triangles.
    std::string ply = "ply\nformat ascii 1.0\ncomment grid\nelement vertex 16\n"
                      "property float x\nproperty float y\nproperty float z\n"
                      "element face 9\nproperty list uchar int vertex_indices\nend_header\n";
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ply += std::to_string(x) + " " + std::to_string(y) + " 0\n";
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            int const a = 4 * y + x;
            ply += "4 " + std::to_string(a) + " " + std::to_string(a + 1) + " " + std::to_string(a + 5) + " " +
                   std::to_string(a + 4) + "\n";
        }
    kolt::TMeshBase mesh = Load(ply, kolt::ReadPly);
    ASSERT_EQ(Shape(mesh), (Counts{16, 33, 18, 12, 12}));
    EXPECT_TRUE(mesh.GetV(4).IsOnBoundary() && !mesh.GetV(5).IsOnBoundary());
    int boundary_faces = 0;
    for (int f = 0; f < mesh.GetFNum(); ++f) {
        kolt::TFace const &face = mesh.GetF(f);
        bool has_open_side = false;
        for (int i = 0; i < 3; ++i)
            if (face.GetAdjacent(i) < 0) {
                has_open_side = true;
                kolt::TEdge const &rim = mesh.GetE(face.GetEdgeRef(i));
                EXPECT_TRUE(rim.IsBoundary() && rim.GetFIdx(1) == -1) << "face " << f << " side " << i;
            }
        EXPECT_EQ(face.IsBoundary(), has_open_side);
        boundary_faces += has_open_side;
        EXPECT_DOUBLE_EQ(face.Norm().z, 1);
    }
    EXPECT_EQ(boundary_faces, 10) << "the far corner squares have one rim triangle";
}

TEST(MeshIo, MoebiusStripHasOneBoundaryLoopThroughEveryVertex)
{
    int const n = 8;
    kolt::TMeshBase mesh;
    mesh.SetVNum(2 * n);
    for (int v = 0; v < 2 * n; ++v) {  // a rung of two vertices per step, turning half a turn in all
        double const angle = 2 * 3.14159265358979 * (v / 2) / n, half_width = v % 2 == 0 ? 0.5 : -0.5;
        double const r = 2 + half_width * std::cos(angle / 2);
        mesh.GetV(v).Pos().Set(r * std::cos(angle), r * std::sin(angle), half_width * std::sin(angle / 2));
    }
    for (int i = 0; i < n; ++i) {
        int const top = 2 * i, bottom = 2 * i + 1;
        // The last quad joins the first rung turned over.
        int const next_top = i + 1 < n ? top + 2 : 1, next_bottom = i + 1 < n ? bottom + 2 : 0;
        kolt::TFace face;
        face.SetIndex(top, bottom, next_bottom);
        mesh.SetF(face);
        face.SetIndex(top, next_bottom, next_top);
        mesh.SetF(face);
    }
    kolt::MeshLoadReport report = kolt::BuildTopology(mesh);
    EXPECT_EQ(report.skipped_faces, 0);
    EXPECT_EQ(Shape(mesh), (Counts{2 * n, 4 * n, 2 * n, 2 * n, 2 * n})) << "Euler characteristic 0";
    // The boundary edges form one closed loop: walk it.
    std::vector<std::vector<int>> next(2 * n);
    for (int e = 0; e < mesh.GetENum(); ++e)
        for (int end = 0; mesh.GetE(e).IsBoundary() && end < 2; ++end)
            next[mesh.GetE(e).GetIndex(end)].push_back(mesh.GetE(e).GetIndex(1 - end));
    int previous = -1, current = 0, steps = 0;
    do {
        ASSERT_EQ(next[current].size(), 2u);
        int const following = next[current][0] != previous ? next[current][0] : next[current][1];
        previous = std::exchange(current, following);
    } while (++steps <= 2 * n && current != 0);
    EXPECT_EQ(steps, 2 * n);
}

TEST(MeshIo, NonManifoldFanKeepsTheEdgeAndReportsIt)
{
    std::string const obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 -1 0\nv 0 0 1\n"
                            "f 1 2 3\nf 2 1 4\nf 1 2 5\nf 1 1 2\nf 1 2\n";
    kolt::MeshLoadReport report;
    kolt::TMeshBase mesh = Load(obj, kolt::ReadObj, &report);
    EXPECT_EQ(report.skipped_faces, 2) << "the repeated vertex and the two-corner face";
    ASSERT_EQ(Shape(mesh), (Counts{5, 7, 3, 6, 5}));
    ASSERT_EQ(report.non_manifold_edges.size(), 1u);
    kolt::TEdge const &shared = mesh.GetE(report.non_manifold_edges[0]);
    EXPECT_EQ(std::set<int>({shared.GetIndex(0), shared.GetIndex(1)}), std::set<int>({0, 1}));
    EXPECT_TRUE(shared.GetFIdx(0) == 0 && shared.GetFIdx(1) == 1 && !shared.IsBoundary()) << "the first two faces";
    for (int f = 0; f < 3; ++f)
        EXPECT_TRUE(mesh.GetF(f).GetEdgeRef(0) == report.non_manifold_edges[0] && mesh.GetF(f).GetAdjacent(0) == -1)
            << "face " << f << " has no neighbour across the shared edge";
    EXPECT_TRUE(mesh.GetV(0).GetAdjFNum() == 3 && mesh.GetV(0).GetAdjENum() == 4);
}

TEST(MeshIo, ObjRelativeIndicesAndAttributes)
{
    std::string const obj = "v 0 0 0 1 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\nvn 0 0 -1\n"
                            "f -3/-1/-2 -2/1/-2 -1//2\n";
    kolt::TMeshBase mesh = Load(obj, kolt::ReadObj);
    ASSERT_EQ(mesh.GetFNum(), 1);
    EXPECT_EQ(mesh.GetV(0).Norm().z, 1) << "every vertex had a normal: kept as given";
    EXPECT_EQ(mesh.GetV(2).Norm().z, -1);
    EXPECT_EQ(mesh.GetV(1).ST().x, 0.5);
    EXPECT_EQ(mesh.GetV(0).Color()[1], 0.0f);
    EXPECT_EQ(mesh.GetV(1).Color()[1], 1.0f) << "vertices without a colour stay white";
}

kolt::TMeshBase Cube()
{
    return Load(kCubeObj, kolt::ReadObj);
}

TEST(MeshIo, StlRoundTripsWeldCornersInBothFormsAndBinaryIsToldBySize)
{
    kolt::TMeshBase const cube = Cube();
    for (bool binary : {true, false}) {
        kolt::CStreamMem out;
        kolt::WriteStl(out, cube, binary);
        std::string bytes = Text(out);
        if (binary) {
            EXPECT_EQ(bytes.size(), 84u + 50u * 12u);
            UnsizedStream unsized(bytes);  // a source of unknown size reads it as binary too
            kolt::TMeshBase piped;
            kolt::ReadStl(unsized, piped);
            EXPECT_EQ(piped.GetVNum(), 8);
            std::memcpy(bytes.data(), "solid", 5);  // a binary header may begin as the text form does
        } else {
            EXPECT_EQ(bytes.rfind("solid tessiv\nfacet normal", 0), 0u);
        }
        kolt::TMeshBase mesh = Load(bytes, kolt::ReadStl);
        ASSERT_EQ(Shape(mesh), (Counts{8, 18, 12, 0, 0})) << (binary ? "binary" : "ascii");
        EXPECT_EQ(mesh.GetV(1).Pos().y, 1) << "STL lists face 0's corners first: 1 4 3";
        EXPECT_EQ(mesh.GetV(2).Pos().x, 1);
        EXPECT_EQ(mesh.GetV(2).Pos().y, 1);
    }
}

TEST(MeshIo, BinaryStlIsToldByItsCountFittingAndRawBytesNeverReachAMessage)
{
    kolt::CStreamMem out;
    kolt::WriteStl(out, Cube(), true);
    std::string bytes = Text(out);
    std::memcpy(bytes.data(), "solid cube", 10);
    bytes += std::string("\0\0\xFFsignature", 12);  // trailing bytes after the triangles
    EXPECT_EQ(Shape(Load(bytes, kolt::ReadStl)), (Counts{8, 18, 12, 0, 0}));

    // A count that does not fit: not binary, and as text the header is junk.
    bytes[80] = 13;
    kolt::TMeshBase mesh = Cube();
    kolt::CStreamMem stream = MemStream(bytes);
    std::string const message = stream_test::FailureOf([&] { kolt::ReadStl(stream, mesh); });
    EXPECT_THAT(message, testing::HasSubstr("reading STL: the data starts with \"solid\" but holds the byte "
                                            "\"\\x00\", which text does not; as binary, its 13 triangles would "
                                            "need 734 bytes at line 1"));
    EXPECT_TRUE(std::all_of(message.begin(), message.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        << "only printable ASCII in: " << message;
}

TEST(MeshIo, PlyHeaderLinesItDoesNotKnowAndVertexListsArePassedOver)
{
    std::string const header = "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\n"
                               "property list uchar float texcoord\nproperty float y\n"
                               "property list int uint8 feature\nproperty int64 id\nproperty float z\n"
                               "element face 1\nproperty list uchar int vertex_indices\n"
                               "made_by some tool 2.1\nend_header\n";
    std::string const ascii = header + "0 2 0.5 0.5 0 2 7 7 -9223372036854775808 0\n1 0 0 0 5 0\n0 0 1 1 9 6 1\n3 0 1 2\n";
    kolt::TMeshBase mesh = Load(ascii, kolt::ReadPly);
    ASSERT_EQ(mesh.GetVNum(), 3);
    EXPECT_EQ(mesh.GetV(1).Pos().x, 1);
    EXPECT_EQ(mesh.GetV(2).Pos().y, 1);
    EXPECT_EQ(mesh.GetFNum(), 1);
}

TEST(MeshIo, PlyRoundTripsBitForBitInEveryEncoding)
{
    kolt::TMeshBase cube = Cube();
    cube.GetV(6).Pos().Set(0.1, 1.0 / 3, -2e-300);
    for (auto encoding : {kolt::PlyEncoding::Ascii, kolt::PlyEncoding::BinaryLittleEndian,
                          kolt::PlyEncoding::BinaryBigEndian}) {
        kolt::CStreamMem out;
        kolt::WritePly(out, cube, encoding);
        UnsizedStream unsized(Text(out));
        kolt::TMeshBase sized = Load(Text(out), kolt::ReadPly), piped;
        kolt::ReadPly(unsized, piped);
        for (kolt::TMeshBase const *mesh : {&sized, &piped}) {
            ASSERT_EQ(Shape(*mesh), (Counts{8, 18, 12, 0, 0}));
            EXPECT_EQ(mesh->GetV(6).Pos().y, 1.0 / 3);
            EXPECT_EQ(mesh->GetV(6).Pos().z, -2e-300);
            EXPECT_EQ(mesh->GetV(2).Norm().x, static_cast<float>(cube.GetV(2).Norm().x))
                << "written normals are read back, not recomputed";
            for (int f = 0; f < 12; ++f)
                for (int i = 0; i < 3; ++i)
                    EXPECT_EQ(mesh->GetF(f).GetIndex(i), cube.GetF(f).GetIndex(i));
        }
    }
}

std::string BigEndianPly()
{
    std::string ply = "ply\r\nformat binary_big_endian 1.0\r\nelement material 2\r\nproperty uchar index\r\n"
                      "property list uchar ushort names\r\n"
                      "element vertex 3\r\nproperty short x\r\nproperty int y\r\nproperty double z\r\n"
                      "property uchar red\r\nproperty uchar green\r\nproperty uchar blue\r\n"
                      "property float u\r\nproperty float v\r\n"
                      "element face 1\r\nproperty uchar flags\r\nproperty list uint uint vertex_index\r\n"
                      "end_header\r\n";
    ply += std::string("\x01\x02\x00\x05\x00\x06", 6) + std::string("\x02\x00", 2);
    auto put = [&ply](std::uint64_t value, int size) {
        for (int i = size - 1; i >= 0; --i)
            ply += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    auto put_real = [&put](auto value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof value);
        put(bits, sizeof value);
    };
    int const xy[3][2] = {{-2, 0}, {3, 0}, {0, 70000}};
    for (int v = 0; v < 3; ++v) {
        put(static_cast<std::uint16_t>(xy[v][0]), 2);
        put(static_cast<std::uint32_t>(xy[v][1]), 4);
        put_real(0.5 * v);
        put(255, 1);
        put(51, 1);
        put(0, 1);
        put_real(0.25f);
        put_real(0.75f);
    }
    put(9, 1);
    put(3, 4);
    for (int i : {0, 1, 2})
        put(static_cast<std::uint32_t>(i), 4);
    return ply;
}

TEST(MeshIo, BigEndianPlyWithSignedTypesColoursAndOtherElements)
{
    kolt::TMeshBase mesh = Load(BigEndianPly(), kolt::ReadPly);
    ASSERT_EQ(Shape(mesh), (Counts{3, 3, 1, 3, 3}));
    EXPECT_EQ(mesh.GetV(0).Pos().x, -2);
    EXPECT_EQ(mesh.GetV(2).Pos().y, 70000);
    EXPECT_EQ(mesh.GetV(2).Pos().z, 1.0);
    EXPECT_EQ(mesh.GetV(1).Color()[0], 1.0f);
    EXPECT_EQ(mesh.GetV(1).Color()[1], 0.2f);
    EXPECT_EQ(mesh.GetV(1).Color()[3], 1.0f);
    EXPECT_EQ(mesh.GetV(1).ST().y, 0.75);
}

// A little-endian file of four vertices whose faces are given as lists of
// uchar count and int indices, one list per face.
std::string PlyWithFaces(std::vector<std::vector<int>> const &faces)
{
    std::string ply = "ply\nformat binary_little_endian 1.0\nelement vertex 4\nproperty float x\n"
                      "property float y\nproperty float z\nelement face " +
                      std::to_string(faces.size()) + "\nproperty list uchar int vertex_indices\nend_header\n";
    float const xyz[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    ply.append(reinterpret_cast<char const *>(xyz), sizeof xyz);
    for (std::vector<int> const &face : faces) {
        ply += static_cast<char>(face.size());
        for (int index : face)
            for (int i = 0; i < 4; ++i)
                ply += static_cast<char>((static_cast<unsigned>(index) >> (8 * i)) & 0xff);
    }
    return ply;
}

TEST(MeshIo, BinaryPlyTrianglesAroundFansBadIndicesAndCutShortFaces)
{
    // Read into a mesh whose edge records were used: the new ones start clean.
    kolt::TMeshBase mesh = Cube();
    for (int e = 0; e < mesh.GetENum(); ++e) {
        mesh.GetE(e).IsVisited() = true;
        mesh.GetE(e).GetFIdx(1) = 99;
    }
    kolt::CStreamMem stream = MemStream(PlyWithFaces({{0, 1, 2}, {0, 2, 3, 1}, {2, 3, 0}, {1, 2}, {3, 1, 2}}));
    kolt::ReadPly(stream, mesh);
    std::vector<std::array<int, 3>> const expected{{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {2, 3, 0}, {3, 1, 2}};
    ASSERT_EQ(mesh.GetFNum(), 5);
    for (int e = 0; e < mesh.GetENum(); ++e) {
        EXPECT_FALSE(mesh.GetE(e).IsVisited());
        EXPECT_NE(mesh.GetE(e).GetFIdx(1), 99);
    }
    for (int f = 0; f < 5; ++f)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(mesh.GetF(f).GetIndex(i), expected[static_cast<std::size_t>(f)][static_cast<std::size_t>(i)]);

    for (auto const &[bytes, message] : std::vector<std::pair<std::string, std::string>>{
             {PlyWithFaces({{0, 1, 2}, {0, 4, 1}}), "reading PLY: face 1 names vertex 4 of 4 at byte offset"},
             {PlyWithFaces({{0, 1, 2}, {0, -1, 1}}), "reading PLY: face 1 names vertex -1 of 4 at byte offset"},
             {PlyWithFaces({{0, 1, 2}, {0, 2, 3}}).substr(0, PlyWithFaces({{0, 1, 2}, {0, 2, 3}}).size() - 1),
              "reading PLY: face index: the data ends at byte offset"}}) {
        kolt::TMeshBase untouched = Cube();
        kolt::CStreamMem stream = MemStream(bytes);
        EXPECT_THAT(stream_test::FailureOf([&] { kolt::ReadPly(stream, untouched); }), testing::HasSubstr(message));
        EXPECT_EQ(Shape(untouched), (Counts{8, 18, 12, 0, 0}));
    }
}

TEST(MeshIo, PlyElementsWithoutPropertiesCostNothing)
{
    std::string const ply = "ply\nformat binary_little_endian 1.0\nelement nothing 2147483647\n"
                            "element vertex 0\nproperty float x\nproperty float y\nproperty float z\nend_header\n";
    EXPECT_EQ(Load(ply, kolt::ReadPly).GetVNum(), 0);
}

TEST(MeshIo, BadInputThrowsNamingWhatAndWhereAndLeavesTheMesh)
{
    std::string stl(84, '\0');
    stl[80] = 2;  // two triangles promised, none follow
    std::string truncated_ply = BigEndianPly();
    truncated_ply.resize(truncated_ply.size() - 3);
    std::string const xyz = "property float x\nproperty float y\nproperty float z\n";
    std::string const hostile_ply =
        "ply\nformat binary_little_endian 1.0\nelement vertex 2000000000\n" + xyz + "end_header\n";
    std::string const one_face = "ply\nformat ascii 1.0\nelement vertex 1\n" + xyz +
                                 "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n";
    struct Case {
        kolt::MeshLoadReport (*reader)(kolt::CStreamI &, kolt::TMeshBase &);
        std::string bytes;
        char const *message;
    };
    Case const cases[] = {
        {kolt::ReadObj, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 5\n",
         "reading OBJ: vertex index 5 at line 4 exceeds the 3 given"},
        {kolt::ReadObj, "v 0 0 0\nv nan 0 0\n", "reading OBJ: vertex value \"nan\" is not a finite number at line 2"},
        {kolt::ReadObj, "v 0 0 0\nf 1 -2 1\n", "reading OBJ: vertex index -2 reaches before the first of 1 at line 2"},
        {kolt::ReadObj, "v 0 0 0\nf 1 0 1\n", "reading OBJ: vertex index 0 is out of range at line 2"},
        {kolt::ReadObj, "v 1 2\n", "reading OBJ: a vertex has 2 coordinates, needs 3 at line 1"},
        {kolt::ReadPly, hostile_ply, "reading PLY: element \"vertex\" count 2000000000 needs at least 12 bytes each, 0 left"},
        {kolt::ReadPly, "ply\nformat ascii 1.0\nelement vertex -1\n", "is not a count from 0 to 2147483647 at line 3"},
        {kolt::ReadPly, "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nend_header\n1\n",
         "reading PLY: the vertex element has no property \"y\""},
        {kolt::ReadPly, one_face + "3 0 0 1\n", "reading PLY: face 0 names vertex 1 of 1 at line 11"},
        {kolt::ReadPly, one_face + "-3e38 0 0 1\n",
         "reading PLY: list count \"-3e38\" is not an integer from 0 to 255 at line 11"},
        {kolt::ReadPly, one_face + "3 0 0 4294967296\n",
         "reading PLY: face index \"4294967296\" is not an integer from -2147483648 to 2147483647 at line 11"},
        {kolt::ReadPly, truncated_ply, "reading PLY: face index: the data ends at byte offset"},
        {kolt::ReadPly, "solid\n", "reading PLY: the data does not begin with the line \"ply\""},
        {kolt::ReadStl, stl, "reading STL: binary header gives 2 triangles (100 bytes) but only 0 bytes follow the header"},
        {kolt::ReadStl, "solid x\nvertex 0 0 0\n", "reading STL: \"vertex\" outside a loop at line 2"},
        {kolt::ReadStl, "solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\n",
         "reading STL: the data ends inside a loop at line 4"},
        {kolt::ReadStl, "solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 inf 0\n",
         "reading STL: vertex coordinate \"inf\" is not finite at line 4"},
        {kolt::ReadStl, "abc", "reading STL: the data (3 bytes) is neither ASCII"},
    };
    for (Case const &c : cases) {
        kolt::TMeshBase mesh = Cube();
        kolt::CStreamMem stream = MemStream(c.bytes);
        EXPECT_THAT(stream_test::FailureOf([&] { c.reader(stream, mesh); }), testing::HasSubstr(c.message));
        EXPECT_EQ(Shape(mesh), (Counts{8, 18, 12, 0, 0})) << "the mesh is left as it was";
    }
}

TEST(MeshIo, BuildTopologyDropsFacesWithIndicesOutsideTheVertices)
{
    kolt::TMeshBase mesh = Cube();
    kolt::TFace bad;
    bad.SetIndex(0, 1, 8);
    mesh.SetF(bad);
    bad.SetIndex(-1, 1, 2);
    mesh.SetF(bad);
    kolt::MeshLoadReport const report = kolt::BuildTopology(mesh);
    EXPECT_EQ(report.skipped_faces, 2);
    EXPECT_EQ(Shape(mesh), (Counts{8, 18, 12, 0, 0}));
}

TEST(MeshIo, AdjacencyListsAreExactAndInOrderAndRebuildingStartsClean)
{
    kolt::TMeshBase mesh = Load(kTetrahedronObj, kolt::ReadObj);
    kolt::Pnt3 const loaded_normal = mesh.GetV(0).Norm();
    auto check_lists = [&mesh](char const *when) {
        for (int v = 0; v < mesh.GetVNum(); ++v) {
            kolt::TVert const &vertex = mesh.GetV(v);
            EXPECT_EQ(vertex.AdjF().capacity(), vertex.AdjF().size()) << when << ": no spare room, vertex " << v;
            EXPECT_EQ(vertex.AdjE().capacity(), vertex.AdjE().size()) << when << ": no spare room, vertex " << v;
            EXPECT_EQ(vertex.GetAdjFNum(), 3) << when << ", vertex " << v;
            EXPECT_EQ(vertex.GetAdjENum(), 3) << when << ", vertex " << v;
            EXPECT_TRUE(std::is_sorted(vertex.AdjF().begin(), vertex.AdjF().end()))
                << when << ": faces in face order, vertex " << v;
            EXPECT_TRUE(std::is_sorted(vertex.AdjE().begin(), vertex.AdjE().end()))
                << when << ": edges in edge order, vertex " << v;
        }
    };
    check_lists("after the load");

    // Stale normals and lists must not leak into a rebuild.
    mesh.GetV(0).Norm().Set(5, 5, 5);
    mesh.GetV(0).AddAdjF(3);
    kolt::BuildTopology(mesh);
    check_lists("after the rebuild");
    EXPECT_EQ(Shape(mesh), (Counts{4, 6, 4, 0, 0}));
    EXPECT_DOUBLE_EQ(mesh.GetV(0).Norm().x, loaded_normal.x);
    EXPECT_DOUBLE_EQ(mesh.GetV(0).Norm().z, loaded_normal.z);
}

}  // namespace
