// Everything Tessiv offers a host: the kolt types, the platform layer, the
// rendering, view and shell classes.
#pragma once

#include <tessiv/imaging/hls_color.h>
#include <tessiv/imaging/image_processor.h>
#include <tessiv/imaging/rgbx.h>
#include <tessiv/kolt.h>
#include <tessiv/platform/carray.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/library_version.h>
#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/windef.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/render/gltext.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/siblings/zt_base/text_agent.h>
#include <tessiv/version.h>
