// Private to libtessiv_platform: the GL half of the headless backend
// (headless_egl.cpp), which headless.cpp puts behind the Backend seam of
// backend.h. The calls mean what the Backend members of the same names mean.
#pragma once

#include <tessiv/platform/backend/backend.h>

#include <vector>

namespace tessiv_platform::backend {

// The formats, in index order (format n is element n - 1). Opens the display
// on first use; empty when it cannot be opened or offers no format, the
// cause reported once through the diagnostic sink.
std::vector<PixelFormat> pixel_formats();

// A compatibility-profile context of format (1-based) with its own object
// namespace, freed with it; null on failure (reported).
Context *create_context(int format);
// Makes target share source's objects (and those source shares); target must
// never have been current. False on failure (reported).
bool share_objects(Context *source, Context *target);
void destroy_context(Context *context);

// Binds context on the calling thread to the window's drawable, creating
// the drawable or fitting it to the client size first.
bool make_current(Context *context, Window &window);
// Binds no context on the calling thread.
bool release_current();
// Shows the drawable's back buffer in its front buffer; the depth and
// stencil buffers stay as drawn.
bool swap_buffers(Window &window);
// Frees the window's drawable; a context bound to it stays current without one.
void destroy_drawable(Window &window);
bool read_front_buffer(Window &window, TessivFrontBuffer *out);
void *proc_address(char const *name);
void set_fault(TessivDisplayFault fault);
void set_swap_method(TessivSwapMethod method);

}  // namespace tessiv_platform::backend
