// Topology of a triangle mesh: edges, adjacency, boundary flags, normals and
// edge lengths (BuildTopology), and the step from parsed file data to a mesh.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <algorithm>
#include <memory>
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

// Gives a vector's storage back at once, so a later step's records reuse it.
template <class T>
void Release(std::vector<T> &values)
{
    std::vector<T>().swap(values);
}

// A list per vertex in one block (compressed rows): the entries of vertex v
// are entries[offsets[v]] up to entries[offsets[v + 1]]; Add fills each
// vertex's entries in the order it is called.
class PerVertexLists {
public:
    explicit PerVertexLists(std::vector<int> const &counts) : offsets_(counts.size() + 1, 0)
    {
        for (std::size_t v = 0; v < counts.size(); ++v)
            offsets_[v + 1] = offsets_[v] + counts[v];
        // Every entry is written by Add before it is read.
        entries_ = std::make_unique_for_overwrite<int[]>(At(offsets_.back()));
        cursor_.assign(offsets_.begin(), offsets_.end() - 1);
    }
    void Add(int vertex, int value) { entries_[At(cursor_[At(vertex)]++)] = value; }
    int Count(int vertex) const { return offsets_[At(vertex) + 1] - offsets_[At(vertex)]; }
    int const *Begin(int vertex) const { return entries_.get() + offsets_[At(vertex)]; }

private:
    std::vector<int> offsets_;
    std::vector<int> cursor_;
    std::unique_ptr<int[]> entries_;
};

struct EdgeDraft {
    int ends[2];
    int faces[2];
};

// The topology from the corners (three per face, every index in range, no
// repeats) and the positions (three per vertex), both of which it empties
// on the way; mesh has one face record per triple, and fresh_edges says its
// edge array has no storage yet.
//
// The large records are written in sequential passes, and each compact
// intermediate is released as soon as its last reader is done, in an order
// chosen so that a load's peak stays close to what the mesh keeps: the
// corners, positions and edge search go before the edge records are made,
// the edge drafts before the vertices' adjacency lists are.
MeshLoadReport BuildFromCorners(TMeshBase &mesh, std::vector<int> &corners, std::vector<double> &positions,
                                bool compute_vertex_normals, bool fresh_edges)
{
    MeshLoadReport report;
    int const vertex_count = mesh.GetVNum();
    int const face_count = mesh.GetFNum();
    auto position = [&positions](int v) {
        double const *p = &positions[At(v) * 3];
        return Pnt3(p[0], p[1], p[2]);
    };

    std::vector<int> faces_per_vertex(At(vertex_count), 0);
    for (int corner : corners)
        ++faces_per_vertex[At(corner)];

    // Unique edges: each is listed under its lower vertex, where the few
    // edges of one vertex are searched linearly.
    std::vector<EdgeDraft> edges;
    std::vector<double> lengths;
    std::vector<unsigned char> face_counts;
    // Written for every corner in the edge search below.
    auto face_edges = std::make_unique_for_overwrite<int[]>(corners.size());
    {
        std::vector<int> first_at_low(At(vertex_count), -1);
        std::vector<int> next_at_low;  // next edge with the same lower end, or -1
        // A mesh without handles has at most V + F - 1 + (components) edges
        // (Euler), never more than 3F; the reservation covers that, and the
        // rare mesh with more grows by an eighth at a time, not by doubling.
        auto reserve_edges = [&](std::size_t n) {
            edges.reserve(n);
            next_at_low.reserve(n);
            face_counts.reserve(n);
            lengths.reserve(n);
        };
        reserve_edges(std::min(At(face_count) * 3, At(vertex_count) + At(face_count) + 2));
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
                    e = next_at_low[At(e)];
                }
                if (e < 0) {
                    if (edges.size() == edges.capacity())
                        reserve_edges(edges.size() + edges.size() / 8 + 16);
                    e = static_cast<int>(edges.size());
                    edges.push_back({{a, b}, {f, -1}});
                    lengths.push_back((position(b) - position(a)).Magnitude());
                    next_at_low.push_back(first_at_low[At(low)]);
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
    }

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
        Pnt3 const p0 = position(face_corners[0]);
        Pnt3 const cross = (position(face_corners[1]) - p0).Cross(position(face_corners[2]) - p0);
        face.Norm() = cross.Normalize();
        if (compute_vertex_normals)
            for (int i = 0; i < 3; ++i)
                vertex_normals[At(face_corners[i])] += cross;
    }
    face_edges.reset();
    Release(corners);
    Release(positions);
    if (compute_vertex_normals)
        for (int v = 0; v < vertex_count; ++v)
            mesh.GetV(v).Norm() = vertex_normals[At(v)].Normalize();
    Release(vertex_normals);

    // The edge records, their lengths and boundary flags.
    int const edge_count = static_cast<int>(edges.size());
    mesh.SetENum(edge_count);
    double total_length = 0;
    std::vector<int> edges_per_vertex(At(vertex_count), 0);
    std::vector<bool> on_boundary(At(vertex_count), false);
    for (int e = 0; e < edge_count; ++e) {
        EdgeDraft const &draft = edges[At(e)];
        TEdge &edge = mesh.GetE(e);
        // An array that had no storage made its records just now.
        if (!fresh_edges)
            edge = TEdge();
        edge.SetIndex(draft.ends[0], draft.ends[1]);
        edge.GetFIdx(0) = draft.faces[0];
        edge.GetFIdx(1) = draft.faces[1];
        double const length = lengths[At(e)];
        edge.OriLen() = length;
        edge.CurLen() = length;
        bool const boundary = face_counts[At(e)] == 1;
        edge.IsBoundary() = boundary;
        total_length += length;
        for (int end : draft.ends) {
            ++edges_per_vertex[At(end)];
            if (boundary)
                on_boundary[At(end)] = true;
        }
    }
    mesh.GetAverageELen() = edge_count > 0 ? total_length / edge_count : 0;
    Release(edges);
    Release(lengths);
    Release(face_counts);

    // Vertices: boundary flag and both adjacency lists, each made at its
    // exact size and copied from a compact list per vertex (faces in face
    // order, edges in edge order), in one pass over the vertex records.
    PerVertexLists vertex_faces(faces_per_vertex);
    Release(faces_per_vertex);
    for (int f = 0; f < face_count; ++f) {
        TFace const &face = mesh.GetF(f);
        for (int i = 0; i < 3; ++i)
            vertex_faces.Add(face.GetIndex(i), f);
    }
    PerVertexLists vertex_edges(edges_per_vertex);
    Release(edges_per_vertex);
    for (int e = 0; e < edge_count; ++e) {
        TEdge const &edge = mesh.GetE(e);
        vertex_edges.Add(edge.GetIndex(0), e);
        vertex_edges.Add(edge.GetIndex(1), e);
    }
    for (int v = 0; v < vertex_count; ++v) {
        TVert &vertex = mesh.GetV(v);
        vertex.IsOnBoundary() = on_boundary[At(v)];
        vertex.AdjFClear();
        vertex.SetAdjFNum(vertex_faces.Count(v));
        std::copy(vertex_faces.Begin(v), vertex_faces.Begin(v) + vertex_faces.Count(v), vertex.AdjF().begin());
        vertex.AdjEClear();
        vertex.SetAdjENum(vertex_edges.Count(v));
        std::copy(vertex_edges.Begin(v), vertex_edges.Begin(v) + vertex_edges.Count(v), vertex.AdjE().begin());
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
    int const vertex_count = mesh.GetVNum();
    std::vector<double> positions(At(vertex_count) * 3);
    for (int v = 0; v < vertex_count; ++v) {
        TVert const &vertex = mesh.GetV(v);
        positions[At(v) * 3] = vertex.Pos().x;
        positions[At(v) * 3 + 1] = vertex.Pos().y;
        positions[At(v) * 3 + 2] = vertex.Pos().z;
    }
    MeshLoadReport report = BuildFromCorners(mesh, corners, positions, compute_vertex_normals, false);
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
    // Readers reserve for the most the file could hold; the spare room would
    // otherwise live through the whole build.
    corners.shrink_to_fit();
    data.positions.shrink_to_fit();
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
    Release(data.normals);
    Release(data.texture_coords);
    Release(data.colors);
    mesh.SetFNum(static_cast<int>(kept / 3));
    // Assigning an empty mesh above freed every record array.
    MeshLoadReport report = BuildFromCorners(mesh, corners, data.positions, !has_normals, true);
    report.skipped_faces = skipped + data.skipped_faces;
    return report;
}

}  // namespace mesh_io

}  // namespace kolt
