// Everything Tessiv offers a host: the kolt types, the platform layer, the
// rendering, view and shell classes.
#pragma once

#include <tessiv/imaging/hls_color.h>
#include <tessiv/imaging/image_processor.h>
#include <tessiv/imaging/rgbx.h>
#include <tessiv/kolt.h>
#include <tessiv/platform/carray.h>
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/cdocument.h>
#include <tessiv/platform/cmd_target.h>
#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/cobject.h>
#include <tessiv/platform/control_bar.h>
#include <tessiv/platform/create_context.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/library_version.h>
#include <tessiv/platform/mdi_child_wnd.h>
#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/status_bar.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/windef.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/version.h>
