// kolt::CSpline: a spline curve entity with control points and tangents.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/scene/ctrl_entity.h>

namespace kolt {

// A curve entity (name and type from CtrlEntity) that owns its control
// points, tangents and parameter arrays; copies copy them deep. A new spline
// has no points and mode 0.
class CSpline : public CtrlEntity {
public:
    CSpline() = default;
    CSpline(CSpline const &other) = default;
    CSpline &operator=(CSpline const &other)
    {
        CtrlEntity::operator=(other);
        m_values = other.m_values;
        m_parameter = other.m_parameter;
        m_tangents = other.m_tangents;
        m_double_arrays[0] = other.m_double_arrays[0];
        m_double_arrays[1] = other.m_double_arrays[1];
        m_ctrl_points = other.m_ctrl_points;
        m_mode = other.m_mode;
        return *this;
    }
    // Copies everything from another spline, only the entity part otherwise.
    CtrlEntity &operator=(CtrlEntity const &other) override
    {
        if (auto const *spline = dynamic_cast<CSpline const *>(&other))
            return *this = *spline;
        return CtrlEntity::operator=(other);
    }
    ~CSpline() override = default;

    unsigned long ClassID() const override { return kClassIdSpline; }
    CtrlEntity *Clone() const override { return new CSpline(*this); }

    int GetTangentCount() const { return static_cast<int>(m_tangents.size()); }

    cvector<Pnt3> &GetCtrlPointArr() { return m_ctrl_points; }
    cvector<Pnt3> const &GetCtrlPointArr() const { return m_ctrl_points; }
    void SetCtrlPointArr(cvector<Pnt3> const &points) { m_ctrl_points = points; }
    Pnt3 &p(int i) { return m_ctrl_points[i]; }
    Pnt3 const &p(int i) const { return m_ctrl_points[i]; }
    Pnt3 &GetCtrlPoint(int i) { return m_ctrl_points[i]; }
    Pnt3 const &GetCtrlPoint(int i) const { return m_ctrl_points[i]; }
    int size() const { return static_cast<int>(m_ctrl_points.size()); }
    int GetCtrlPointCount() const { return size(); }
    // Grows the capacity to exactly n when smaller; new points are not set.
    void resize(int n) { m_ctrl_points.resize(static_cast<unsigned int>(n)); }
    // The last control point; the spline must have one.
    Pnt3 &pBack() { return m_ctrl_points.back(); }
    Pnt3 const &pBack() const { return m_ctrl_points.back(); }

    unsigned long GetMode() const { return m_mode; }

protected:
    // Values without accessors belong to the curve code outside this module.
    struct Values {
        std::uint32_t words[5] = {};
    } m_values;
    double m_parameter = 0;
    cvector<Pnt3> m_tangents;
    cvector<double> m_double_arrays[2];
    cvector<Pnt3> m_ctrl_points;
    unsigned long m_mode = 0;
};

}  // namespace kolt
