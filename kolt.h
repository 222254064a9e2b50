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
#include <tessiv/imaging/blend.h>
#include <tessiv/imaging/color.h>
#include <tessiv/imaging/image_io.h>
#include <tessiv/imaging/index_image.h>
#include <tessiv/imaging/pixel_image.h>
#include <tessiv/imaging/scale.h>
#include <tessiv/scene/base_object.h>
#include <tessiv/scene/controller.h>
#include <tessiv/scene/ctrl_entity.h>
#include <tessiv/scene/geom_entity.h>
#include <tessiv/scene/kstring.h>
#include <tessiv/scene/named.h>
#include <tessiv/scene/node_property.h>
#include <tessiv/scene/pointer_list.h>
#include <tessiv/scene/stream.h>
#include <tessiv/scene/stream_debug.h>
#include <tessiv/scene/stream_file.h>
#include <tessiv/scene/stream_mem.h>
#include <tessiv/scene/texture.h>
#include <tessiv/scene/tnode.h>
#include <tessiv/scene/tree.h>
#include <tessiv/scene/tscene.h>
