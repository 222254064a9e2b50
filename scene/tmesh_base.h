// kolt::TMeshBase: a triangle mesh held as three arrays of records
// (TVert, TEdge, TFace) that refer to each other by index (-1: none), with
// cached whole-mesh values. Filling one from mesh files and building its
// topology: mesh_io.h.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/scene/ctrl_entity.h>
#include <tessiv/scene/tedge.h>
#include <tessiv/scene/tface.h>
#include <tessiv/scene/tvert.h>

namespace kolt {

// Owns its vertex, edge and face arrays; a copy copies every record (the
// vertices' adjacency lists deep) and every cached value, so it shares
// nothing with its source. Defaults: empty arrays, every cached value 0 and
// every flag false, scale 1. The smooth angle is in radians.
class TMeshBase {
public:
    TMeshBase() = default;
    TMeshBase(TMeshBase const &other) = default;
    TMeshBase &operator=(TMeshBase const &other) = default;
    ~TMeshBase() = default;

    // Not virtual.
    unsigned long ClassID() const { return kClassIdMeshBase; }

    TVert &GetV(int i) { return m_vertices[i]; }
    TVert const &GetV(int i) const { return m_vertices[i]; }
    int GetVNum() const { return static_cast<int>(m_vertices.size()); }
    void SetVNum(int n) { m_vertices.resize(static_cast<unsigned int>(n)); }
    // Appends a copy; despite the name nothing is replaced.
    void SetV(TVert v) { m_vertices.push_back(v); }

    TEdge &GetE(int i) { return m_edges[i]; }
    TEdge const &GetE(int i) const { return m_edges[i]; }
    int GetENum() const { return static_cast<int>(m_edges.size()); }
    void SetENum(int n) { m_edges.resize(static_cast<unsigned int>(n)); }
    // Appends a copy; despite the name nothing is replaced.
    void SetE(TEdge e) { m_edges.push_back(e); }

    TFace &GetF(int i) { return m_faces[i]; }
    TFace const &GetF(int i) const { return m_faces[i]; }
    int GetFNum() const { return static_cast<int>(m_faces.size()); }
    void SetFNum(int n) { m_faces.resize(static_cast<unsigned int>(n)); }
    // Appends a copy; despite the name nothing is replaced.
    void SetF(TFace f) { m_faces.push_back(f); }

    double &GetAverageELen() { return m_average_edge_length; }
    double const &GetAverageELen() const { return m_average_edge_length; }
    bool &HasBoundaryFlagSet() { return m_flags[1]; }
    bool const &HasBoundaryFlagSet() const { return m_flags[1]; }
    bool &IsAngleInited() { return m_flags[2]; }
    bool const &IsAngleInited() const { return m_flags[2]; }
    double &GetScale() { return m_scale; }
    double const &GetScale() const { return m_scale; }
    void SetSmoothAngle(double radians) { m_smooth_angle = radians; }
    double GetSmoothAngle() const { return m_smooth_angle; }
    void ResetRect() { m_rect_valid = false; }
    void ResetCentre() { m_centre_valid = false; }
    bool &IsEdgeLenComp() { return m_edge_lengths_computed; }
    bool const &IsEdgeLenComp() const { return m_edge_lengths_computed; }

protected:
    cvector<TVert> m_vertices;
    cvector<TEdge> m_edges;
    cvector<TFace> m_faces;
    // The unnamed values cache results of the analysis code outside this
    // module; they are copied with the mesh.
    std::uint32_t m_values[2] = {};
    double m_average_edge_length = 0;
    bool m_flags[5] = {};
    double m_scale = 1;
    double m_cache_a[4] = {};
    double m_smooth_angle = 0;
    double m_cache_b[6] = {};
    bool m_rect_valid = false;
    std::uint64_t m_cache_c[4] = {};
    bool m_centre_valid = false;
    bool m_edge_lengths_computed = false;
    double m_cache_d[6] = {};
};

}  // namespace kolt
