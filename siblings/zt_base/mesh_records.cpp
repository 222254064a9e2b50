// The constructors and destructors of the mesh records and the curve line.
#include <tessiv/scene/c3dline.h>
#include <tessiv/scene/tedge.h>
#include <tessiv/scene/tface.h>
#include <tessiv/scene/tvert.h>

namespace kolt {

TVert::TVert()
    : m_color(1, 1, 1, 1), m_curvature(0), m_values{}, m_analysis{}, m_visited(false),
      m_on_boundary(false)
{
}

TVert::~TVert() = default;

TEdge::TEdge()
    : m_value_a(0), m_vertices{-1, -1}, m_faces{-1, -1}, m_value_b(0), m_original_length(0),
      m_current_length(0), m_visible(true), m_boundary(false), m_visited(false)
{
}

TEdge::~TEdge() = default;

TFace::TFace()
    : m_vertices{-1, -1, -1}, m_norm_in_2d(0), m_area_2d(0), m_edges{-1, -1, -1}, m_value_a(0),
      m_original_area(0), m_adjacent{-1, -1, -1}, m_material_id(0), m_further_a{},
      m_original_angles{}, m_further_b{}, m_sub_mesh_id(0), m_color(1, 1, 1, 1), m_value_b(0),
      m_visible(true), m_boundary(false), m_type(0), m_visited(false)
{
}

TFace::~TFace() = default;

C3DLine::C3DLine()
    : m_cf{0, 0}, m_value_a(0), m_value_b(0), m_values_c{}, m_measure_line(false), m_type(0),
      m_sym_line(false), m_value_d(0), m_layer_id(0), m_id(-1), m_father_id(-1), m_mode(0)
{
}

}  // namespace kolt
