// kolt::C3DLine: a curve on a mesh as a value record: the mesh edges and
// faces it crosses, its intersection, interpolated and barycentric points,
// references to other lines, a type, a layer and ids. Its default
// constructor is in libzt_base.so.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/scene/curve_records.h>

namespace kolt {

// Owns every array it holds; copies copy each array element by element, so
// a copy shares nothing. The list setters append (push_back growth); the
// element getters do not check indices. Defaults: type 0, layer 0, id and
// father id -1, mode 0, control points and normal (0, 0, 0), control flags
// 0, not a measure or symmetry line, every list empty.
// Types: 0 cutting line, 2 boundary, 3 super, 5 fitted spline, 6 central
// line, 7 base feature line; 1 and 4 have no predicate here.
class C3DLine {
public:
    C3DLine();
    C3DLine(C3DLine const &other) = default;
    C3DLine &operator=(C3DLine const &other) = default;
    ~C3DLine() = default;

    Pnt3 &Getcpt(int i) { return m_cpt[i]; }
    Pnt3 const &Getcpt(int i) const { return m_cpt[i]; }
    void Setcpt(Pnt3 p, int i) { m_cpt[i] = p; }
    int &Getcf(int i) { return m_cf[i]; }
    int const &Getcf(int i) const { return m_cf[i]; }
    // Value first, index second.
    void Setcf(int value, int i) { m_cf[i] = value; }

    int &Getedges(int i) { return m_edges[i]; }
    int GetedgesCount() const { return static_cast<int>(m_edges.size()); }
    void Setedges(int e) { m_edges.push_back(e); }
    void Deleteedge(int i) { RemoveKeepingOrder(m_edges, i); }
    void Clearedges() { m_edges.clear(); }

    Pnt3 &Getipt(int i) { return m_ipt[i]; }
    int GetiptCount() const { return static_cast<int>(m_ipt.size()); }
    void Setipt(Pnt3 p) { m_ipt.push_back(p); }
    void Deleteipt(int i) { RemoveKeepingOrder(m_ipt, i); }
    void Cleaript() { m_ipt.clear(); }

    int &Getifs(int i) { return m_ifs[i]; }
    int GetifsCount() const { return static_cast<int>(m_ifs.size()); }
    void Setifs(int f) { m_ifs.push_back(f); }
    void Deleteifs(int i) { RemoveKeepingOrder(m_ifs, i); }
    void Clearifs() { m_ifs.clear(); }

    Pnt3 &Getinterp(int i) { return m_interp[i]; }
    int GetinterpCount() const { return static_cast<int>(m_interp.size()); }
    void Setinterp(Pnt3 p) { m_interp.push_back(p); }
    void Clearinterp() { m_interp.clear(); }

    int Getinterclineid(int i) const { return m_intercline_ids[i]; }
    int &GetinterclineidA(int i) { return m_intercline_ids[i]; }
    int GetinterclineidCount() const { return static_cast<int>(m_intercline_ids.size()); }
    void Setinterclineid(int id) { m_intercline_ids.push_back(id); }
    void Clearinterclineid() { m_intercline_ids.clear(); }

    int &Getinterpinfid(int i) { return m_interp_info_ids[i]; }
    int GetinterpinfidCount() const { return static_cast<int>(m_interp_info_ids.size()); }
    void Setinterpinfid(int id) { m_interp_info_ids.push_back(id); }
    void Clearinterpinfid() { m_interp_info_ids.clear(); }

    void AddBaryCenterCoor(Pnt3 p) { m_bary.push_back(p); }
    void SetBaryCenterCoor(int i, Pnt3 p) { m_bary[i] = p; }
    Pnt3 &GetBaryCenterCoor(int i) { return m_bary[i]; }

    bool IsMeasureLine() const { return m_measure_line; }
    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    bool IsCuttingLine() const { return m_type == 0; }
    bool IsBoundary() const { return m_type == 2; }
    bool IsSuper() const { return m_type == 3; }
    bool IsFitSpline() const { return m_type == 5; }
    bool IsCentralLine() const { return m_type == 6; }
    // A central line is a base feature line too.
    bool IsBaseFeatureLine() const { return m_type == 6 || m_type == 7; }
    // Tests the layer, not the type.
    bool IsFeatureOrBoundaryLayer() const { return m_layer_id == -1; }

    bool IsSymLine() const { return m_sym_line; }
    void SetSymLine(bool symmetric) { m_sym_line = symmetric; }

    // -1 for the feature and boundary layers.
    int GetLayerId() const { return m_layer_id; }
    void SetLayerId(int layer) { m_layer_id = layer; }
    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }
    int GetFatherId() const { return m_father_id; }
    void SetFatherId(int id) { m_father_id = id; }
    Pnt3 GetNorm() const { return m_norm; }
    void SetNorm(Pnt3 norm) { m_norm = norm; }

    // The segments become a copy of the list.
    void AttachSegment(cvector<_LineSegment> const &segments) { m_segments = segments; }
    void DetachSegment() { m_segments.clear(); }
    // Read access to the segments (no other accessor shows them).
    cvector<_LineSegment> const &GetSegments() const { return m_segments; }
    int GetMode() const { return m_mode; }
    void SetMode(int mode) { m_mode = mode; }

protected:
    // Does nothing on an empty list; otherwise i must be below the count.
    template <class T>
    static void RemoveKeepingOrder(cvector<T> &list, int i)
    {
        if (list.size() > 0)
            list.erase(list.begin() + i);
    }

    // The arrays and values without accessors belong to the curve code
    // outside this module; they are copied with the line.
    cvector<float> m_floats;
    Pnt3 m_cpt[4];
    int m_cf[2];
    cvector<int> m_edges;
    cvector<Pnt3> m_ipt;
    cvector<Pnt3> m_points;
    cvector<int> m_ifs;
    cvector<Pnt3> m_interp;
    cvector<int> m_intercline_ids;
    cvector<int> m_interp_info_ids;
    cvector<int> m_int_arrays[2];
    cvector<_IntersectInform> m_intersections;
    cvector<unsigned char> m_bytes;
    cvector<NewCline> m_new_lines;
    cvector<Pnt3> m_bary;
    std::uint32_t m_value_a;
    std::uint16_t m_value_b;
    cvector<int> m_int_lists[2];
    cvector<double> m_double_arrays[2];
    std::uint32_t m_values_c[2];
    bool m_measure_line;
    int m_type;
    bool m_sym_line;
    cvector<ContrInterpoint> m_contour_points;
    cvector<int> m_int_array;
    std::uint32_t m_value_d;
    int m_layer_id;
    int m_id;
    int m_father_id;
    Pnt3 m_norm;
    cvector<_LineSegment> m_segments;
    int m_mode;
};

}  // namespace kolt
