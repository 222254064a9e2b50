// A bare EGL frame on the headless display, as a program without our layers
// would draw it: the baseline of the frame-bracket benchmark. Built only
// into the benchmark, never into the library.
#pragma once

namespace tessiv_platform::bare_egl {

// Opens the display and makes a compatibility context and a width x height
// pbuffer with a 24-bit depth buffer, plus (for the presenting variant) a
// front renderbuffer. False when EGL is not available.
bool open(int width, int height);
// make-current, clear colour and depth, swap, release.
void frame();
// The same with the swap copying the back buffer to the front renderbuffer
// and flushing, as the headless drawable presents.
void presenting_frame();
void close();

}  // namespace tessiv_platform::bare_egl
