// Topology of a triangle mesh: edges, adjacency, boundary flags, normals and
// edge lengths (BuildTopology), and the step from parsed file data to a mesh.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <vector>

namespace kolt {

namespace {

// Face slots hold a face count per edge: 0, 1, 2, or 3 meaning "three or more".
constexpr unsigned char kManyFaces = 3;

// Removes faces with an index outside [0, vertex_count) or a repeated vertex,
// keeping the order of the rest; returns how many went.
int RemoveUnusableFaces(TMeshBase &mesh)
{
    int const vertex_count = mesh.GetVNum();
    int kept = 0;
    for (int f = 0; f < mesh.GetFNum(); ++f) {
        TFace const &face = mesh.GetF(f);
        int const a = face.GetIndex(0), b = face.GetIndex(1), c = face.GetIndex(2);
        bool const in_range = a >= 0 && b >= 0 && c >= 0 && a < vertex_count && b < vertex_count &&
                              c < vertex_count;
        if (!in_range || a == b || b == c || a == c)
            continue;
        if (kept != f)
            mesh.GetF(kept) = face;
        ++kept;
    }
    int const removed = mesh.GetFNum() - kept;
    mesh.SetFNum(kept);
    return removed;
}

// Per-vertex adjacent faces, in face order, each list allocated exactly.
void BuildVertexFaces(TMeshBase &mesh)
{
    std::vector<int> counts(static_cast<std::size_t>(mesh.GetVNum()), 0);
    for (int f = 0; f < mesh.GetFNum(); ++f)
        for (int i = 0; i < 3; ++i)
            ++counts[static_cast<std::size_t>(mesh.GetF(f).GetIndex(i))];
    for (int v = 0; v < mesh.GetVNum(); ++v) {
        mesh.GetV(v).AdjFClear();
        mesh.GetV(v).SetAdjFNum(counts[static_cast<std::size_t>(v)]);
        counts[static_cast<std::size_t>(v)] = 0;
    }
    for (int f = 0; f < mesh.GetFNum(); ++f)
        for (int i = 0; i < 3; ++i) {
            int const v = mesh.GetF(f).GetIndex(i);
            mesh.GetV(v).AdjF(counts[static_cast<std::size_t>(v)]++) = f;
        }
}

struct EdgeDraft {
    int ends[2];
    int faces[2];
    int next_at_low;  // next edge whose lower end is the same vertex, or -1
};

}  // namespace

MeshLoadReport BuildTopology(TMeshBase &mesh, bool compute_vertex_normals)
{
    MeshLoadReport report;
    report.skipped_faces = RemoveUnusableFaces(mesh);
    int const vertex_count = mesh.GetVNum();
    int const face_count = mesh.GetFNum();
    BuildVertexFaces(mesh);

    // Unique edges: each is listed under its lower vertex, where the few
    // edges of one vertex are searched linearly.
    std::vector<int> first_at_low(static_cast<std::size_t>(vertex_count), -1);
    std::vector<EdgeDraft> edges;
    std::vector<unsigned char> face_counts;
    edges.reserve(static_cast<std::size_t>(face_count) * 3 / 2 + 3);
    face_counts.reserve(edges.capacity());
    for (int f = 0; f < face_count; ++f) {
        TFace &face = mesh.GetF(f);
        for (int i = 0; i < 3; ++i) {
            int const a = face.GetIndex(i), b = face.GetIndex((i + 1) % 3);
            int const low = a < b ? a : b, high = a < b ? b : a;
            int e = first_at_low[static_cast<std::size_t>(low)];
            while (e >= 0) {
                EdgeDraft const &draft = edges[static_cast<std::size_t>(e)];
                if (draft.ends[0] == high || draft.ends[1] == high)
                    break;
                e = draft.next_at_low;
            }
            if (e < 0) {
                e = static_cast<int>(edges.size());
                edges.push_back({{a, b}, {f, -1}, first_at_low[static_cast<std::size_t>(low)]});
                face_counts.push_back(1);
                first_at_low[static_cast<std::size_t>(low)] = e;
            } else {
                unsigned char &count = face_counts[static_cast<std::size_t>(e)];
                if (count == 1)
                    edges[static_cast<std::size_t>(e)].faces[1] = f;
                if (count == 2)
                    report.non_manifold_edges.push_back(e);
                if (count < kManyFaces)
                    ++count;
            }
            face.SetEdgeRef(i, e);
        }
    }

    // The edge records, their lengths and boundary flags.
    int const edge_count = static_cast<int>(edges.size());
    mesh.SetENum(edge_count);
    double total_length = 0;
    for (int e = 0; e < edge_count; ++e) {
        EdgeDraft const &draft = edges[static_cast<std::size_t>(e)];
        TEdge &edge = mesh.GetE(e);
        edge = TEdge();
        edge.SetIndex(draft.ends[0], draft.ends[1]);
        edge.GetFIdx(0) = draft.faces[0];
        edge.GetFIdx(1) = draft.faces[1];
        double const length = (mesh.GetV(draft.ends[1]).Pos() - mesh.GetV(draft.ends[0]).Pos()).Magnitude();
        edge.OriLen() = length;
        edge.CurLen() = length;
        edge.IsBoundary() = face_counts[static_cast<std::size_t>(e)] == 1;
        total_length += length;
    }
    mesh.GetAverageELen() = edge_count > 0 ? total_length / edge_count : 0;

    // Per-vertex adjacent edges, in edge order, each list allocated exactly.
    std::vector<int> counts(static_cast<std::size_t>(vertex_count), 0);
    for (EdgeDraft const &draft : edges) {
        ++counts[static_cast<std::size_t>(draft.ends[0])];
        ++counts[static_cast<std::size_t>(draft.ends[1])];
    }
    for (int v = 0; v < vertex_count; ++v) {
        TVert &vertex = mesh.GetV(v);
        vertex.AdjEClear();
        vertex.SetAdjENum(counts[static_cast<std::size_t>(v)]);
        vertex.IsOnBoundary() = false;
        counts[static_cast<std::size_t>(v)] = 0;
    }
    for (int e = 0; e < edge_count; ++e)
        for (int end : edges[static_cast<std::size_t>(e)].ends) {
            TVert &vertex = mesh.GetV(end);
            vertex.AdjE(counts[static_cast<std::size_t>(end)]++) = e;
            if (face_counts[static_cast<std::size_t>(e)] == 1)
                vertex.IsOnBoundary() = true;
        }

    // Faces: neighbours across each edge, boundary flag, unit normal.
    std::vector<Pnt3> vertex_normals;
    if (compute_vertex_normals)
        vertex_normals.resize(static_cast<std::size_t>(vertex_count));
    for (int f = 0; f < face_count; ++f) {
        TFace &face = mesh.GetF(f);
        face.IsBoundary() = false;
        for (int i = 0; i < 3; ++i) {
            int const e = face.GetEdgeRef(i);
            EdgeDraft const &draft = edges[static_cast<std::size_t>(e)];
            unsigned char const count = face_counts[static_cast<std::size_t>(e)];
            face.SetAdjacent(i, count == 2 ? draft.faces[draft.faces[0] == f ? 1 : 0] : -1);
            if (count == 1)
                face.IsBoundary() = true;
        }
        Pnt3 const &p0 = mesh.GetV(face.GetIndex(0)).Pos();
        Pnt3 const cross = (mesh.GetV(face.GetIndex(1)).Pos() - p0).Cross(mesh.GetV(face.GetIndex(2)).Pos() - p0);
        face.Norm() = cross.Normalize();
        if (compute_vertex_normals)
            for (int i = 0; i < 3; ++i)
                vertex_normals[static_cast<std::size_t>(face.GetIndex(i))] += cross;
    }
    if (compute_vertex_normals)
        for (int v = 0; v < vertex_count; ++v)
            mesh.GetV(v).Norm() = vertex_normals[static_cast<std::size_t>(v)].Normalize();

    mesh.HasBoundaryFlagSet() = true;
    mesh.IsEdgeLenComp() = true;
    mesh.ResetRect();
    mesh.ResetCentre();
    return report;
}

namespace mesh_io {

MeshLoadReport FillMesh(MeshData const &data, TMeshBase &mesh)
{
    int const vertex_count = static_cast<int>(data.positions.size() / 3);
    int const face_count = static_cast<int>(data.triangles.size() / 3);
    // Parsing is over, so nothing below refuses the data: the mesh is
    // emptied (cached values too) and filled in place rather than copied.
    mesh = TMeshBase();
    mesh.SetVNum(vertex_count);
    bool const has_normals = !data.normals.empty();
    for (int v = 0; v < vertex_count; ++v) {
        TVert &vertex = mesh.GetV(v);
        std::size_t const i = static_cast<std::size_t>(v);
        vertex.Pos().Set(data.positions[3 * i], data.positions[3 * i + 1], data.positions[3 * i + 2]);
        if (has_normals)
            vertex.Norm().Set(data.normals[3 * i], data.normals[3 * i + 1], data.normals[3 * i + 2]);
        if (!data.texture_coords.empty())
            vertex.ST().Set(data.texture_coords[2 * i], data.texture_coords[2 * i + 1]);
        if (!data.colors.empty())
            vertex.Color().Set(data.colors[4 * i], data.colors[4 * i + 1], data.colors[4 * i + 2],
                               data.colors[4 * i + 3]);
    }
    mesh.SetFNum(face_count);
    for (int f = 0; f < face_count; ++f) {
        std::size_t const i = static_cast<std::size_t>(f);
        mesh.GetF(f).SetIndex(data.triangles[3 * i], data.triangles[3 * i + 1], data.triangles[3 * i + 2]);
    }
    MeshLoadReport report = BuildTopology(mesh, !has_normals);
    report.skipped_faces += data.skipped_faces;
    return report;
}

}  // namespace mesh_io

}  // namespace kolt
