// A bare EGL frame on the headless display, as a program without our layers
// would draw it: the baseline of the frame-bracket benchmark. Built only
// into the benchmark, never into the library.
#pragma once

namespace tessiv_platform::bare_egl {

// Opens the display and makes a compatibility context and two width x height
// pbuffers in the config a view's pixel format gets (8-bit alpha, 32-bit
// depth, no stencil). False when EGL is not available.
bool open(int width, int height);
// make-current, clear colour and depth, swap (a pbuffer's swap does
// nothing), release.
void frame();
// The same with the swap exchanging the two pbuffers by rebinding, as the
// headless drawable swaps.
void exchanging_frame();
// A frame of the caller's drawing: make-current, draw(data), exchange the
// pbuffers by rebinding, release. The context keeps its state between
// frames, so the first call's drawing may also set it up.
void drawing_frame(void (*draw)(void *), void *data);
void close();

}  // namespace tessiv_platform::bare_egl
