// kolt::CLineSegment: a group of curve lines (c3dline.h) with the lines
// split from them.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/scene/c3dline.h>

namespace kolt {

// Owns its lines, its split lines and two arrays of index lists; a copy
// copies every line deep. A new group is empty with max id 0 and its flags
// false.
class CLineSegment {
public:
    CLineSegment() = default;
    CLineSegment(CLineSegment const &other) = default;
    CLineSegment &operator=(CLineSegment const &other) = default;
    ~CLineSegment() = default;

    void AddCLine(C3DLine const &line) { m_lines.push_back(line); }
    C3DLine &GetCLine(unsigned int i) { return m_lines.at(i); }
    C3DLine const &GetCLine(unsigned int i) const { return m_lines.at(i); }
    int GetCLineSize() const { return static_cast<int>(m_lines.size()); }
    // Frees the lines; the split lines stay.
    void Clear() { m_lines.clear(); }

    void GetSplitCLine(cvector<C3DLine> &out) const { out = m_split_lines; }

    void SetMaxId(int id) { m_max_id = id; }
    int const &GetMaxId() const { return m_max_id; }
    void SetLinesChangedFlag() { m_lines_changed = true; }

protected:
    // The values without accessors belong to the curve code outside this
    // module; they are copied with the group.
    double m_values[4] = {};
    cvector<C3DLine> m_lines;
    cvector<C3DLine> m_split_lines;
    cvector<cvector<int>> m_index_lists[2];
    std::uint64_t m_value = 0;
    int m_max_id = 0;
    bool m_lines_changed = false;
    bool m_further_flag = false;
};

}  // namespace kolt
