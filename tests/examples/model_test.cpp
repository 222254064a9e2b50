// The viewer's model: the built-in shape and the mesh files read into
// client arrays, with the runs of faces that picking names.
#include "model.h"

#include <tessiv/scene/stream.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every face's corners lie inside its run's box; the radius holds every vertex.
void ExpectGroupsHoldTheirFaces(viewer::Model const &model)
{
    ASSERT_EQ(model.groups.size(),
              static_cast<std::size_t>((model.FaceCount() + viewer::kFacesPerGroup - 1) / viewer::kFacesPerGroup));
    for (int face = 0; face < model.FaceCount(); ++face) {
        viewer::Box3 const &box = model.groups[static_cast<std::size_t>(face / viewer::kFacesPerGroup)];
        for (int corner = 0; corner < 3; ++corner) {
            std::uint32_t v = model.indices[static_cast<std::size_t>(face) * 3 + static_cast<std::size_t>(corner)];
            ASSERT_LT(v, static_cast<std::uint32_t>(model.VertexCount())) << "face " << face;
            float const *p = &model.positions[v * 3];
            for (int k = 0; k < 3; ++k) {
                ASSERT_GE(p[k], box.lower[k]) << "face " << face;
                ASSERT_LE(p[k], box.upper[k]) << "face " << face;
            }
            ASSERT_LE(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), model.radius * 1.0001f);
        }
    }
}

TEST(ViewerModel, BuiltInModelHasTheAskedSizeAndConsistentArrays)
{
    for (int triangles : {2000, 50000}) {
        viewer::Model model = viewer::MakeBuiltInModel(triangles);
        EXPECT_GE(model.FaceCount(), triangles);
        EXPECT_LT(model.FaceCount(), triangles + triangles / 3) << "not far more than asked";
        ASSERT_EQ(model.normals.size(), model.positions.size());
        ASSERT_EQ(model.colours.size() / 4, model.positions.size() / 3);
        for (std::size_t v = 0; v < model.normals.size(); v += 3) {
            float const *n = &model.normals[v];
            ASSERT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-4f) << "vertex " << v / 3;
        }
        EXPECT_GT(model.radius, 250);
        EXPECT_LT(model.radius, 320) << "about 600 units across";
        ExpectGroupsHoldTheirFaces(model);
    }
}

TEST(ViewerModel, MeshFileIsCentredScaledAndReportsProgress)
{
    fs::path path = fs::temp_directory_path() / ("viewer_model_test_" + std::to_string(::getpid()) + ".obj");
    {
        std::ofstream out(path);
        // A 10 x 10 grid of quads from (100, 200, 5) to (120, 220, 5).
        for (int j = 0; j <= 10; ++j)
            for (int i = 0; i <= 10; ++i)
                out << "v " << 100 + 2 * i << ' ' << 200 + 2 * j << " 5\n";
        for (int j = 0; j < 10; ++j)
            for (int i = 0; i < 10; ++i) {
                int a = j * 11 + i + 1;
                out << "f " << a << ' ' << a + 1 << ' ' << a + 12 << ' ' << a + 11 << '\n';
            }
    }
    std::vector<double> fractions;
    viewer::Model model = viewer::LoadMeshFile(path.string(), [&](double f) { fractions.push_back(f); });
    fs::remove(path);

    EXPECT_EQ(model.FaceCount(), 200);
    EXPECT_EQ(model.VertexCount(), 121);
    EXPECT_NEAR(model.positions[0], -300, 1e-3) << "the largest side becomes 600, centred";
    EXPECT_NEAR(model.positions[1], -300, 1e-3);
    EXPECT_NEAR(model.positions[2], 0, 1e-3);
    EXPECT_NEAR(model.radius, 300 * std::sqrt(2.0), 1e-2);
    ASSERT_FALSE(fractions.empty());
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0) << "progress ends at the whole file";
    ExpectGroupsHoldTheirFaces(model);

    EXPECT_THROW(viewer::LoadMeshFile("/nonexistent/mesh.ply", nullptr), kolt::IOException);
}

}  // namespace
