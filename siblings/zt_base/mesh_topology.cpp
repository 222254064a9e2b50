// Topology of a triangle mesh: edges, adjacency, boundary flags, normals and
// edge lengths (BuildTopology), and the step from parsed file data to a mesh.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <algorithm>
#include <vector>

namespace kolt {

namespace {

// Face slots hold a face count per edge: 0, 1, 2, or 3 meaning "three or more".
constexpr unsigned char kManyFaces = 3;

std::size_t At(int index)
{
    return static_cast<std::size_t>(index);
}

// Removes faces with an index outside [0, vertex_count) or a repeated vertex,
// keeping the order of the rest, and copies the kept corners into corners
// (three per face); returns how many faces went.
int RemoveUnusableFaces(TMeshBase &mesh, std::vector<int> &corners)
{
    int const vertex_count = mesh.GetVNum();
    int const face_count = mesh.GetFNum();
    corners.reserve(At(face_count) * 3);
    int kept = 0;
    for (int f = 0; f < face_count; ++f) {
        TFace const &face = mesh.GetF(f);
        int const a = face.GetIndex(0), b = face.GetIndex(1), c = face.GetIndex(2);
        bool const in_range = a >= 0 && b >= 0 && c >= 0 && a < vertex_count && b < vertex_count &&
                              c < vertex_count;
        if (!in_range || a == b || b == c || a == c)
            continue;
        if (kept != f)
            mesh.GetF(kept) = face;
        corners.insert(corners.end(), {a, b, c});
        ++kept;
    }
    mesh.SetFNum(kept);
    return face_count - kept;
}

// A list per vertex in one block (compressed rows): the entries of vertex v
// are entries[offsets[v]] up to entries[offsets[v + 1]].
struct PerVertexLists {
    std::vector<int> offsets;
    std::vector<int> entries;

    // counts[v] entries for vertex v; fill with Add in the wanted order.
    explicit PerVertexLists(std::vector<int> const &counts) : offsets(counts.size() + 1, 0)
    {
        for (std::size_t v = 0; v < counts.size(); ++v)
            offsets[v + 1] = offsets[v] + counts[v];
        entries.resize(At(offsets.back()));
        cursor.assign(offsets.begin(), offsets.end() - 1);
    }
    void Add(int vertex, int value) { entries[At(cursor[At(vertex)]++)] = value; }

    std::vector<int> cursor;
};

struct EdgeDraft {
    int ends[2];
    int faces[2];
    int next_at_low;  // next edge whose lower end is the same vertex, or -1
};

// The topology from the kept corners (three per face, every index in range,
// no repeats); mesh has one face record per triple and receives the corners
// too. Works on compact copies of the corners and positions and touches each
// (large) record in one sequential pass, so the cost is one write of the
// records plus the edge search.
MeshLoadReport BuildFromCorners(TMeshBase &mesh, std::vector<int> const &corners, bool compute_vertex_normals)
{
    MeshLoadReport report;
    int const vertex_count = mesh.GetVNum();
    int const face_count = mesh.GetFNum();
    std::vector<Pnt3> positions(At(vertex_count));
    for (int v = 0; v < vertex_count; ++v)
        positions[At(v)] = mesh.GetV(v).Pos();

    // Adjacent faces per vertex, in face order.
    std::vector<int> counts(At(vertex_count), 0);
    for (int corner : corners)
        ++counts[At(corner)];
    PerVertexLists vertex_faces(counts);
    for (std::size_t c = 0; c < corners.size(); ++c)
        vertex_faces.Add(corners[c], static_cast<int>(c / 3));

    // Unique edges: each is listed under its lower vertex, where the few
    // edges of one vertex are searched linearly.
    std::vector<int> first_at_low(At(vertex_count), -1);
    std::vector<EdgeDraft> edges;
    std::vector<unsigned char> face_counts;
    std::vector<int> face_edges(corners.size());
    edges.reserve(At(face_count) * 3 / 2 + 3);
    face_counts.reserve(edges.capacity());
    for (int f = 0; f < face_count; ++f) {
        int const *face = &corners[At(f) * 3];
        for (int i = 0; i < 3; ++i) {
            int const a = face[i], b = face[(i + 1) % 3];
            int const low = a < b ? a : b, high = a < b ? b : a;
            int e = first_at_low[At(low)];
            while (e >= 0) {
                EdgeDraft const &draft = edges[At(e)];
                if (draft.ends[0] == high || draft.ends[1] == high)
                    break;
                e = draft.next_at_low;
            }
            if (e < 0) {
                e = static_cast<int>(edges.size());
                edges.push_back({{a, b}, {f, -1}, first_at_low[At(low)]});
                face_counts.push_back(1);
                first_at_low[At(low)] = e;
            } else {
                unsigned char &count = face_counts[At(e)];
                if (count == 1)
                    edges[At(e)].faces[1] = f;
                if (count == 2)
                    report.non_manifold_edges.push_back(e);
                if (count < kManyFaces)
                    ++count;
            }
            face_edges[At(f) * 3 + At(i)] = e;
        }
    }

    // The edge records, their lengths and boundary flags.
    int const edge_count = static_cast<int>(edges.size());
    mesh.SetENum(edge_count);
    double total_length = 0;
    std::fill(counts.begin(), counts.end(), 0);
    std::vector<bool> on_boundary(At(vertex_count), false);
    for (int e = 0; e < edge_count; ++e) {
        EdgeDraft const &draft = edges[At(e)];
        TEdge &edge = mesh.GetE(e);
        edge = TEdge();
        edge.SetIndex(draft.ends[0], draft.ends[1]);
        edge.GetFIdx(0) = draft.faces[0];
        edge.GetFIdx(1) = draft.faces[1];
        double const length = (positions[At(draft.ends[1])] - positions[At(draft.ends[0])]).Magnitude();
        edge.OriLen() = length;
        edge.CurLen() = length;
        bool const boundary = face_counts[At(e)] == 1;
        edge.IsBoundary() = boundary;
        total_length += length;
        for (int end : draft.ends) {
            ++counts[At(end)];
            if (boundary)
                on_boundary[At(end)] = true;
        }
    }
    mesh.GetAverageELen() = edge_count > 0 ? total_length / edge_count : 0;

    // Adjacent edges per vertex, in edge order.
    PerVertexLists vertex_edges(counts);
    for (int e = 0; e < edge_count; ++e)
        for (int end : edges[At(e)].ends)
            vertex_edges.Add(end, e);

    // Faces: edges, neighbours across each edge, boundary flag, unit normal.
    std::vector<Pnt3> vertex_normals;
    if (compute_vertex_normals)
        vertex_normals.resize(At(vertex_count));
    for (int f = 0; f < face_count; ++f) {
        TFace &face = mesh.GetF(f);
        int const *face_corners = &corners[At(f) * 3];
        bool boundary = false;
        for (int i = 0; i < 3; ++i) {
            int const e = face_edges[At(f) * 3 + At(i)];
            EdgeDraft const &draft = edges[At(e)];
            unsigned char const count = face_counts[At(e)];
            face.SetEdgeRef(i, e);
            face.SetAdjacent(i, count == 2 ? draft.faces[draft.faces[0] == f ? 1 : 0] : -1);
            boundary = boundary || count == 1;
        }
        face.IsBoundary() = boundary;
        face.SetIndex(face_corners[0], face_corners[1], face_corners[2]);
        Pnt3 const &p0 = positions[At(face_corners[0])];
        Pnt3 const cross = (positions[At(face_corners[1])] - p0).Cross(positions[At(face_corners[2])] - p0);
        face.Norm() = cross.Normalize();
        if (compute_vertex_normals)
            for (int i = 0; i < 3; ++i)
                vertex_normals[At(face_corners[i])] += cross;
    }

    // Vertices: both adjacency lists, boundary flag, normal.
    for (int v = 0; v < vertex_count; ++v) {
        TVert &vertex = mesh.GetV(v);
        std::size_t const i = At(v);
        vertex.AdjFClear();
        vertex.SetAdjFNum(vertex_faces.offsets[i + 1] - vertex_faces.offsets[i]);
        std::copy(vertex_faces.entries.data() + vertex_faces.offsets[i],
                  vertex_faces.entries.data() + vertex_faces.offsets[i + 1], vertex.AdjF().begin());
        vertex.AdjEClear();
        vertex.SetAdjENum(vertex_edges.offsets[i + 1] - vertex_edges.offsets[i]);
        std::copy(vertex_edges.entries.data() + vertex_edges.offsets[i],
                  vertex_edges.entries.data() + vertex_edges.offsets[i + 1], vertex.AdjE().begin());
        vertex.IsOnBoundary() = on_boundary[i];
        if (compute_vertex_normals)
            vertex.Norm() = vertex_normals[i].Normalize();
    }

    mesh.HasBoundaryFlagSet() = true;
    mesh.IsEdgeLenComp() = true;
    mesh.ResetRect();
    mesh.ResetCentre();
    return report;
}

}  // namespace

MeshLoadReport BuildTopology(TMeshBase &mesh, bool compute_vertex_normals)
{
    std::vector<int> corners;
    int const skipped = RemoveUnusableFaces(mesh, corners);
    MeshLoadReport report = BuildFromCorners(mesh, corners, compute_vertex_normals);
    report.skipped_faces = skipped;
    return report;
}

namespace mesh_io {

MeshLoadReport FillMesh(MeshData &data, TMeshBase &mesh)
{
    int const vertex_count = static_cast<int>(data.positions.size() / 3);
    // Faces with a repeated vertex go here, in the compact triples.
    std::vector<int> &corners = data.triangles;
    std::size_t kept = 0;
    for (std::size_t t = 0; t + 2 < corners.size(); t += 3) {
        int const a = corners[t], b = corners[t + 1], c = corners[t + 2];
        if (a == b || b == c || a == c)
            continue;
        corners[kept] = a;
        corners[kept + 1] = b;
        corners[kept + 2] = c;
        kept += 3;
    }
    int const skipped = static_cast<int>((corners.size() - kept) / 3);
    corners.resize(kept);
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
    mesh.SetFNum(static_cast<int>(kept / 3));
    MeshLoadReport report = BuildFromCorners(mesh, corners, !has_normals);
    report.skipped_faces = skipped + data.skipped_faces;
    return report;
}

}  // namespace mesh_io

}  // namespace kolt
