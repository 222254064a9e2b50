// kolt::TVert: the vertex record of a triangle mesh (see tmesh_base.h). Its
// default constructor and destructor are in libzt_base.so.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/imaging/color.h>

namespace kolt {

// A mesh vertex: position, colour, normal, 2D and original positions,
// texture coordinates, curvature and marks, and the indices of the edges and
// faces around it. Owns its two adjacency lists; a copy copies them deep.
// Defaults: every point (0, 0, 0), colour opaque white (1, 1, 1, 1),
// curvature 0, both lists empty, not visited, not on a boundary.
class TVert {
public:
    TVert();
    TVert(TVert const &other) = default;
    TVert &operator=(TVert const &other) = default;
    ~TVert();

    Pnt3 &Pos() { return m_pos; }
    Pnt3 const &Pos() const { return m_pos; }

    // Colour, curvature colour and deformation colour are one field.
    ColorF &Color() { return m_color; }
    ColorF const &Color() const { return m_color; }
    ColorF &CurvatureColor() { return m_color; }
    ColorF const &CurvatureColor() const { return m_color; }
    ColorF &DeformationColor() { return m_color; }
    ColorF const &DeformationColor() const { return m_color; }

    Pnt3 &Norm() { return m_norm; }
    Pnt3 const &Norm() const { return m_norm; }
    Pnt3 &Pos2d() { return m_pos2d; }
    Pnt3 const &Pos2d() const { return m_pos2d; }
    Pnt3 &Pos_Org() { return m_pos_org; }
    Pnt3 const &Pos_Org() const { return m_pos_org; }
    Pnt2 &ST() { return m_st; }
    Pnt2 const &ST() const { return m_st; }

    // Empties both adjacency lists and makes room for eight entries in
    // each; nothing else changes.
    void FastInit()
    {
        m_adj_edges.resetsize();
        m_adj_edges.reserve(8);
        m_adj_faces.resetsize();
        m_adj_faces.reserve(8);
    }

    cvector<int> &AdjE() { return m_adj_edges; }
    cvector<int> const &AdjE() const { return m_adj_edges; }
    int &AdjE(int i) { return m_adj_edges[i]; }
    int const &AdjE(int i) const { return m_adj_edges[i]; }
    int GetAdjENum() const { return static_cast<int>(m_adj_edges.size()); }
    // New entries are not set.
    void SetAdjENum(int n) { m_adj_edges.resize(static_cast<unsigned int>(n)); }
    void AddAdjE(int e) { m_adj_edges.push_back(e); }
    void AdjEClear() { m_adj_edges.clear(); }

    cvector<int> &AdjF() { return m_adj_faces; }
    cvector<int> const &AdjF() const { return m_adj_faces; }
    int &AdjF(int i) { return m_adj_faces[i]; }
    int const &AdjF(int i) const { return m_adj_faces[i]; }
    int GetAdjFNum() const { return static_cast<int>(m_adj_faces.size()); }
    // New entries are not set.
    void SetAdjFNum(int n) { m_adj_faces.resize(static_cast<unsigned int>(n)); }
    void AddAdjF(int f) { m_adj_faces.push_back(f); }
    void AdjFClear() { m_adj_faces.clear(); }

    // Curvature, Gauss curvature and deformation are one field.
    double &GetCurvature() { return m_curvature; }
    double const &GetCurvature() const { return m_curvature; }
    double &GetGaussCurvature() { return m_curvature; }
    double const &GetGaussCurvature() const { return m_curvature; }
    double &GetDeformation() { return m_curvature; }
    double const &GetDeformation() const { return m_curvature; }

    bool &IsVisited() { return m_visited; }
    bool const &IsVisited() const { return m_visited; }
    bool &IsOnBoundary() { return m_on_boundary; }
    bool const &IsOnBoundary() const { return m_on_boundary; }

protected:
    Pnt3 m_pos;
    ColorF m_color;
    Pnt3 m_norm;
    Pnt3 m_pos2d;
    Pnt3 m_pos_org;
    Pnt2 m_st;
    cvector<int> m_adj_edges;
    cvector<int> m_adj_faces;
    double m_curvature;
    // Kept for the analysis code outside this module, which derives from
    // the record; copied with the vertex.
    std::uint32_t m_values[3];
    double m_analysis[6];
    bool m_visited;
    bool m_on_boundary;
};

}  // namespace kolt
