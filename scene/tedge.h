// kolt::TEdge: the edge record of a triangle mesh (see tmesh_base.h). Its
// default constructor and destructor are in libzt_base.so.
#pragma once

#include <cstdint>

namespace kolt {

// A mesh edge: its two end vertices, the faces on either side (-1: none),
// its original and current lengths and its marks. Owns nothing; copies as
// plain memory. Defaults: indices -1, lengths 0, visible, not a boundary,
// not visited.
class TEdge {
public:
    TEdge();
    TEdge(TEdge const &other) = default;
    TEdge &operator=(TEdge const &other) = default;
    ~TEdge();

    int &p(int i) { return m_vertices[i]; }
    int p(int i) const { return m_vertices[i]; }
    int GetIndex(int i) const { return m_vertices[i]; }
    void SetIndex(int a, int b)
    {
        m_vertices[0] = a;
        m_vertices[1] = b;
    }

    int &GetFIdx(int i) { return m_faces[i]; }
    int const &GetFIdx(int i) const { return m_faces[i]; }

    double &OriLen() { return m_original_length; }
    double const &OriLen() const { return m_original_length; }
    double &CurLen() { return m_current_length; }
    double const &CurLen() const { return m_current_length; }

    bool &GetVisible() { return m_visible; }
    bool const &GetVisible() const { return m_visible; }
    bool &IsBoundary() { return m_boundary; }
    bool const &IsBoundary() const { return m_boundary; }
    bool &IsVisited() { return m_visited; }
    bool const &IsVisited() const { return m_visited; }

protected:
    // The 32-bit values are kept for code outside this module.
    std::uint32_t m_value_a;
    int m_vertices[2];
    int m_faces[2];
    std::uint32_t m_value_b;
    double m_original_length;
    double m_current_length;
    bool m_visible;
    bool m_boundary;
    bool m_visited;
};

}  // namespace kolt
