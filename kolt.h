// Every kolt type and function: the geometry core, and the scene, mesh,
// stream and image types as they are added.
#pragma once

#include <tessiv/core/box.h>
#include <tessiv/core/cvector.h>
#include <tessiv/core/intvec.h>
#include <tessiv/core/kmath.h>
#include <tessiv/core/matrix.h>
#include <tessiv/core/point.h>
#include <tessiv/core/quat.h>
#include <tessiv/scene/base_object.h>
#include <tessiv/scene/c3dline.h>
#include <tessiv/scene/c3dspline.h>
#include <tessiv/scene/controller.h>
#include <tessiv/scene/ctrl_entity.h>
#include <tessiv/scene/curve_records.h>
#include <tessiv/scene/geom_entity.h>
#include <tessiv/scene/kstring.h>
#include <tessiv/scene/line_segment.h>
#include <tessiv/scene/mesh_io.h>
#include <tessiv/scene/named.h>
#include <tessiv/scene/node_property.h>
#include <tessiv/scene/pointer_list.h>
#include <tessiv/scene/spline.h>
#include <tessiv/scene/stream.h>
#include <tessiv/scene/stream_debug.h>
#include <tessiv/scene/stream_file.h>
#include <tessiv/scene/stream_mem.h>
#include <tessiv/scene/tedge.h>
#include <tessiv/scene/texture.h>
#include <tessiv/scene/tface.h>
#include <tessiv/scene/tmesh_base.h>
#include <tessiv/scene/tnode.h>
#include <tessiv/scene/tree.h>
#include <tessiv/scene/tscene.h>
#include <tessiv/scene/tvert.h>
#include <tessiv/siblings/zt_base/vector_functions.h>
