// Filling a kolt::TMeshBase from the mesh files users have (Wavefront OBJ,
// PLY in ASCII and both binary byte orders, STL in ASCII and binary) read
// through a kolt::CStreamI, building its whole topology, and writing a mesh
// back as PLY or STL through a kolt::CStreamO. The functions live in
// libzt_base.so beside the record constructors.
//
// What a load builds:
//  - vertices with position (and, when the file has them, normal, texture
//    coordinates and colour), their adjacent edges and faces in index order;
//  - one edge per unordered vertex pair, its ends in the winding of the
//    first face that uses it, faces 0 and 1 the first two faces on it (-1
//    when there is only one), both lengths set;
//  - faces: edge i joins corners i and i + 1 (mod 3), adjacent face i lies
//    across edge i (-1 on a boundary or a non-manifold edge);
//  - boundary flags: an edge with one face, a face with such an edge, a
//    vertex on such an edge; the mesh's HasBoundaryFlagSet and IsEdgeLenComp
//    are set and GetAverageELen is the mean edge length;
//  - face normals (unit, (0, 0, 0) for a zero-area face) and vertex normals
//    (unit sum of the adjacent faces' area-weighted normals) unless the file
//    gave a normal for every vertex.
// Polygons are split into triangle fans from their first corner. STL's
// repeated corners are welded into one vertex by exact position (-0 and +0
// alike). OBJ keeps one normal and one texture coordinate per position: the
// first corner that names one gives it.
//
// Bad input: a malformed, truncated or hostile file throws kolt::IOException
// naming the format, what was wrong and where (line or byte offset), before
// anything beyond what the data can hold is allocated: indices out of range,
// counts the data cannot supply, non-finite coordinates, a binary STL whose
// triangles do not fit in its size. Messages quote the file's text cut to
// 32 bytes, with bytes outside printable ASCII written as \xNN. Two things are handled instead:
// a face with a repeated vertex (or fewer than three corners) is skipped and
// counted, and an edge shared by three or more faces is kept and listed.
// On an exception the target mesh is left as it was.
#pragma once

#include <tessiv/core/cvector.h>
#include <tessiv/scene/stream.h>
#include <tessiv/scene/tmesh_base.h>

namespace kolt {

// What a load met and handled rather than refused.
struct MeshLoadReport {
    // Faces dropped for a repeated vertex or fewer than three corners.
    int skipped_faces = 0;
    // Edges shared by three or more faces, by edge index.
    cvector<int> non_manifold_edges;
};

// Replace the contents of mesh with the file's triangles and topology.
MeshLoadReport ReadObj(CStreamI &in, TMeshBase &mesh);
MeshLoadReport ReadPly(CStreamI &in, TMeshBase &mesh);
// Tells ASCII from binary by the size: a file whose triangle count (bytes
// 80 to 83) fits in its size (84 + 50 bytes per triangle, more bytes may
// follow and are left unread) is binary, even when its header starts with
// "solid"; otherwise (and always from a stream that cannot tell its size)
// a leading "solid" means ASCII.
MeshLoadReport ReadStl(CStreamI &in, TMeshBase &mesh);

// Rebuilds edges, adjacency, boundary flags, normals and edge lengths from
// the vertex positions and the faces' vertex indices; faces with an index
// outside the vertices or a repeated vertex are removed first (counted as
// skipped). Vertex normals are left as they are unless
// compute_vertex_normals.
MeshLoadReport BuildTopology(TMeshBase &mesh, bool compute_vertex_normals = true);

enum class PlyEncoding { Ascii, BinaryLittleEndian, BinaryBigEndian };

// Vertices as double x, y, z and float nx, ny, nz; faces as a uchar-counted
// int list "vertex_indices". Positions read back bit for bit.
void WritePly(CStreamO &out, TMeshBase const &mesh, PlyEncoding encoding);
// Positions and face normals in single precision, as the format stores them.
void WriteStl(CStreamO &out, TMeshBase const &mesh, bool binary);

}  // namespace kolt
