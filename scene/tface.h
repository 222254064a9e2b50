// kolt::TFace: the triangle record of a mesh (see tmesh_base.h). Its default
// constructor and destructor are in libzt_base.so.
#pragma once

#include <cstdint>

#include <tessiv/core/point.h>
#include <tessiv/imaging/color.h>

namespace kolt {

// A mesh triangle: its three vertices, the three edges and the three
// neighbouring faces (edge i and neighbour i share position i), normal,
// areas, angles, ids, colour and marks. Owns nothing; copies as plain
// memory. Defaults: every index -1, material and sub-mesh id 0, areas,
// angles and normal 0, colour opaque white, visible, type 0, no marks.
class TFace {
public:
    TFace();
    TFace(TFace const &other) = default;
    TFace &operator=(TFace const &other) = default;
    ~TFace();

    // Clears the edge references and the neighbours; the vertices stay.
    void FastInit()
    {
        SetEdgeRef(-1, -1, -1);
        SetAdjacent(-1, -1, -1);
    }

    int &p(int i) { return m_vertices[i]; }
    int p(int i) const { return m_vertices[i]; }
    int GetIndex(int i) const { return m_vertices[i]; }
    void SetIndex(int a, int b, int c)
    {
        m_vertices[0] = a;
        m_vertices[1] = b;
        m_vertices[2] = c;
    }
    void SetVertex(int a, int b, int c) { SetIndex(a, b, c); }

    int &NormIn2D() { return m_norm_in_2d; }
    int const &NormIn2D() const { return m_norm_in_2d; }
    Pnt3 &Norm() { return m_norm; }
    Pnt3 const &Norm() const { return m_norm; }
    double &GetAreaIn2D() { return m_area_2d; }
    double const &GetAreaIn2D() const { return m_area_2d; }

    void SetEdgeRef(int a, int b, int c)
    {
        m_edges[0] = a;
        m_edges[1] = b;
        m_edges[2] = c;
    }
    void SetEdgeRef(int i, int e) { m_edges[i] = e; }
    int GetEdgeRef(int i) const { return m_edges[i]; }

    double &GetOriArea() { return m_original_area; }
    double const &GetOriArea() const { return m_original_area; }

    void SetAdjacent(int a, int b, int c)
    {
        m_adjacent[0] = a;
        m_adjacent[1] = b;
        m_adjacent[2] = c;
    }
    void SetAdjacent(int i, int f) { m_adjacent[i] = f; }
    int GetAdjacent(int i) const { return m_adjacent[i]; }

    int &GetMaterialID() { return m_material_id; }
    int const &GetMaterialID() const { return m_material_id; }
    double &GetOriAngle(int i) { return m_original_angles[i]; }
    double const &GetOriAngle(int i) const { return m_original_angles[i]; }
    int &GetSubMeshID() { return m_sub_mesh_id; }
    int const &GetSubMeshID() const { return m_sub_mesh_id; }
    ColorF &GetColor() { return m_color; }
    ColorF const &GetColor() const { return m_color; }

    bool &GetVisible() { return m_visible; }
    bool const &GetVisible() const { return m_visible; }
    // The argument is ignored: the answer is the visible flag.
    bool IsInVisibleRegion(bool) const { return m_visible; }
    bool &IsBoundary() { return m_boundary; }
    bool const &IsBoundary() const { return m_boundary; }
    void SetType(int type) { m_type = type; }
    int GetType() const { return m_type; }
    bool &IsVisited() { return m_visited; }
    bool const &IsVisited() const { return m_visited; }

protected:
    int m_vertices[3];
    int m_norm_in_2d;
    Pnt3 m_norm;
    double m_area_2d;
    int m_edges[3];
    // The unnamed values are kept for code outside this module.
    std::uint32_t m_value_a;
    double m_original_area;
    int m_adjacent[3];
    int m_material_id;
    double m_further_a[3];
    double m_original_angles[3];
    double m_further_b[3];
    int m_sub_mesh_id;
    ColorF m_color;
    std::uint32_t m_value_b;
    bool m_visible;
    bool m_boundary;
    int m_type;
    bool m_visited;
};

}  // namespace kolt
