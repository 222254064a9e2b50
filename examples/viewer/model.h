// The viewer's model: an indexed triangle mesh kept as client vertex arrays
// (float positions and normals, byte colours, 32-bit indices), either made
// in code or read from an OBJ, PLY or STL file, and split into runs of
// consecutive faces for picking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace viewer {

// Faces are named for picking in runs of kFacesPerGroup consecutive faces;
// each run keeps a bounding box so a pick pass draws only the runs whose box
// reaches the pick region, and those with one name per face.
constexpr int kFacesPerGroup = 512;

struct Box3 {
    float lower[3] = {0, 0, 0};
    float upper[3] = {0, 0, 0};
};

struct Model {
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> normals;    // unit normal per vertex
    std::vector<std::uint8_t> colours;  // r, g, b, a per vertex
    std::vector<std::uint32_t> indices;  // three per face
    std::vector<Box3> groups;      // one per run of kFacesPerGroup faces
    float radius = 0;              // of the sphere about the origin holding every vertex

    int FaceCount() const { return static_cast<int>(indices.size() / 3); }
    int VertexCount() const { return static_cast<int>(positions.size() / 3); }
    // The mean of the face's corners; face must be in range.
    void FaceCentre(int face, double centre[3]) const;
};

// A torus rippled along its tube with a ball through its hole, coloured by
// the angle around the ring, centred on the origin and about 600 units
// across: turning it, its depth order and its faces are easy to see.
// Makes at least min_triangles triangles (a few hundred thousand by default).
Model MakeBuiltInModel(int min_triangles = 300000);

// Reads an OBJ, PLY or STL file (chosen by its extension, case ignored)
// through the library's mesh readers, then centres it on the origin and
// scales it to 600 units across. progress(fraction) is called as the file is
// read (never more than about a hundred times). Throws kolt::IOException with
// the reader's message for a file that cannot be read or is not a mesh, and
// std::runtime_error for an unknown extension or a file without faces.
Model LoadMeshFile(std::string const &path, std::function<void(double)> const &progress);

// Recomputes the group boxes and the radius from positions and indices.
void IndexGroups(Model &model);

}  // namespace viewer
