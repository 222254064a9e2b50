// kolt::C3DSpline: a curve entity built around a spline (spline.h), with the
// lines cut from it, its own layer and identifier.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/scene/c3dline.h>
#include <tessiv/scene/ctrl_entity.h>
#include <tessiv/scene/spline.h>

namespace kolt {

// Owns its spline and every array; copies copy them deep (the entity part,
// then the spline, then every field in order). A new one has layer 0,
// id -1, no plane cut and every array empty.
class C3DSpline : public CtrlEntity {
public:
    C3DSpline() = default;
    C3DSpline(C3DSpline const &other) = default;
    C3DSpline &operator=(C3DSpline const &other)
    {
        CtrlEntity::operator=(other);
        m_spline = other.m_spline;
        m_int_array_a = other.m_int_array_a;
        m_point_arrays[0] = other.m_point_arrays[0];
        m_point_arrays[1] = other.m_point_arrays[1];
        m_int_array_b = other.m_int_array_b;
        m_int_arrays[0] = other.m_int_arrays[0];
        m_int_arrays[1] = other.m_int_arrays[1];
        m_lines = other.m_lines;
        m_plane_cut = other.m_plane_cut;
        m_point_array_c = other.m_point_array_c;
        m_value_a = other.m_value_a;
        m_int_array_c = other.m_int_array_c;
        m_value_b = other.m_value_b;
        m_layer_id = other.m_layer_id;
        m_id = other.m_id;
        m_value_c = other.m_value_c;
        m_point_array_d = other.m_point_array_d;
        m_int_array_d = other.m_int_array_d;
        for (int i = 0; i < 3; ++i)
            m_doubles[i] = other.m_doubles[i];
        return *this;
    }
    // Copies everything from another 3D spline, only the entity part
    // otherwise.
    CtrlEntity &operator=(CtrlEntity const &other) override
    {
        if (auto const *spline = dynamic_cast<C3DSpline const *>(&other))
            return *this = *spline;
        return CtrlEntity::operator=(other);
    }
    ~C3DSpline() override = default;

    unsigned long ClassID() const override { return kClassId3DSpline; }
    CtrlEntity *Clone() const override { return new C3DSpline(*this); }

    bool IsPlaneCut() const { return m_plane_cut; }
    void SetAsPlaneCut() { m_plane_cut = true; }
    int GetLayerId() const { return m_layer_id; }
    void SetLayerId(int layer) { m_layer_id = layer; }
    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    // Feature lines live on layer -1.
    bool IsFeatureLine() const { return m_layer_id == -1; }

protected:
    // The fields without accessors belong to the curve code outside this
    // module; they are copied with the entity.
    CSpline m_spline;
    cvector<int> m_int_array_a;
    cvector<Pnt3> m_point_arrays[2];
    cvector<int> m_int_array_b;
    cvector<int> m_int_arrays[2];
    cvector<C3DLine> m_lines;
    bool m_plane_cut = false;
    cvector<Pnt3> m_point_array_c;
    std::uint32_t m_value_a = 0;
    cvector<int> m_int_array_c;
    std::uint32_t m_value_b = 0;
    int m_layer_id = 0;
    int m_id = -1;
    std::uint32_t m_value_c = 0;
    cvector<Pnt3> m_point_array_d;
    cvector<int> m_int_array_d;
    double m_doubles[3] = {};
};

}  // namespace kolt
