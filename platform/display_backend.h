// Which display the platform layer runs on. "headless" (the default: windows
// in memory, scripted input, GL on EGL without a screen) or "x11" (real X
// windows, input and GL on the display $DISPLAY names), when the library was
// built with X11. The choice is made once, before the first window or GL
// call: by TessivSelectDisplayBackend (or CWinApp::SelectDisplayBackend),
// else by the TESSIV_BACKEND environment variable, else headless.
#pragma once

#include <tessiv/platform/windef.h>

// Selects the backend by name. FALSE, with a diagnostic, for an unknown
// name, a backend that cannot start (no X display), or a call after the
// first window or GL call chose another one; the choice then stays open (or
// as it was). TESSIV_BACKEND naming a backend that cannot start falls back
// to headless with a diagnostic instead.
BOOL TessivSelectDisplayBackend(LPCSTR name);
// The backend in use ("headless", "x11"); fixes the choice if still open.
LPCSTR TessivDisplayBackendName();
