// What tests and scripts use to drive the headless display: the virtual
// screen's size, the keyboard and mouse state that GetAsyncKeyState reads,
// whole mouse gestures sent or posted as a real window would receive them,
// the front buffer of a window's GL drawable read back as an image, and the
// sink that receives the display backend's error reports.
#pragma once

#include <tessiv/platform/windef.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// The virtual screen GetSystemMetrics and GetDeviceCaps report; 1920 x 1080
// unless set. Sizes below 1 are refused.
BOOL TessivSetScreenSize(int width, int height);

// Key or mouse-button state, for GetAsyncKeyState and the calling thread's
// GetKeyState alike.
void TessivSetKeyDown(int virtual_key, bool down);
// Releases every key and button (for GetAsyncKeyState and the calling
// thread's GetKeyState) and puts the cursor at the screen origin.
void TessivResetInput();

enum class TessivMouseButton { Left, Right, Middle };

// Sends the messages of a drag in window: WM_SETCURSOR and the button-down
// message at points[0], WM_MOUSEMOVE for each later point, the button-up
// message at the last point. Points are in window's client coordinates; the
// cursor position, the button state and the MK_ flags follow the gesture
// (MK_SHIFT and MK_CONTROL from the key state). While a window holds the
// capture, the messages go to it in its client coordinates. A single point
// makes a click. Returns FALSE for an invalid window or no points.
BOOL TessivSendMouseGesture(HWND window, TessivMouseButton button, POINT const *points,
                            std::size_t count);
// Sends WM_MOUSEWHEEL (delta in multiples of WHEEL_DELTA) at a client point.
BOOL TessivSendMouseWheel(HWND window, int delta, POINT client_point);
// Sends WM_MOUSEMOVE at a client point with no button change.
BOOL TessivSendMouseMove(HWND window, POINT client_point);
// Presses of the same button on a window whose class has CS_DBLCLKS arrive
// as WM_*BUTTONDBLCLK when they fall within GetDoubleClickTime and the
// SM_CXDOUBLECLK x SM_CYDOUBLECLK rectangle centred on the first press; the
// double click ends the sequence. Both input paths do this.

// The posted forms of the three calls above: the events join the input
// queue of the window's thread in order, as real input does, and become
// messages when GetMessage or PeekMessage takes them (after the posted
// messages). Only then are the target (the capture window at that time), the
// double click, the key flags, the cursor position and WM_SETCURSOR decided,
// so a modal loop pumping the queue sees them; the button state changes for
// GetAsyncKeyState as they are posted, for GetKeyState as they are taken.
// Points are converted to screen coordinates when posted. An event whose
// window is gone by then is dropped, its button change still applied.
BOOL TessivPostMouseGesture(HWND window, TessivMouseButton button, POINT const *points,
                            std::size_t count);
BOOL TessivPostMouseWheel(HWND window, int delta, POINT client_point);
BOOL TessivPostMouseMove(HWND window, POINT client_point);
// Posts one press (down) or release of a button at a client point, for
// gestures that interleave other input between press and release.
BOOL TessivPostMouseButton(HWND window, TessivMouseButton button, bool down, POINT client_point);
// Posts a key press (down) or release as input: WM_KEYDOWN or WM_KEYUP with
// the virtual key reaches the focus window (window when none has the focus)
// in order with the posted mouse events; GetAsyncKeyState sees the change
// at once, GetKeyState when it is taken. FALSE for an invalid window or a key outside 1..255.
BOOL TessivPostKey(HWND window, int virtual_key, bool down);

// The command the next TrackPopupMenu chooses (0: dismiss), and what the
// last TrackPopupMenu was asked to show.
void TessivSetPopupMenuChoice(UINT command);
struct TessivPopupMenuCall {
    HMENU menu = nullptr;
    UINT flags = 0;
    POINT screen_point{};
    HWND owner = nullptr;
};
TessivPopupMenuCall TessivLastPopupMenu();

// One image of a cursor loaded from a resource library: its size, the bits
// per pixel it was stored with, its hot spot, and its pixels as 0xAARRGGBB
// words, rows top down (alpha 0: transparent; a 1-bit image's inverting
// pixels read as transparent white, 0x00FFFFFF).
struct TessivCursorImage {
    int width = 0;
    int height = 0;
    int bits_per_pixel = 0;
    POINT hot_spot{};
    std::vector<std::uint32_t> pixels;
};
// The images of a cursor in the order its group lists them; FALSE for a
// predefined cursor or an unknown handle.
BOOL TessivGetCursorImages(HCURSOR cursor, std::vector<TessivCursorImage> *images);

// A window's front buffer: width x height pixels, rows top-down, pixel (x, y)
// at y * width + x, each word 0xAARRGGBB (memory order blue, green, red,
// alpha), the layout of a kolt::PixelImage.
struct TessivFrontBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
// Reads what the last SwapBuffers showed. FALSE when the window has no GL
// drawable yet or the display fails; the GL context current on the calling
// thread is the same afterwards.
BOOL TessivReadFrontBuffer(HWND window, TessivFrontBuffer *out);

// A window as the screen would show it: its GDI pixels (window rectangle,
// frame included), each visible descendant's drawn over them from the
// bottom of the z-order up and clipped to its parent's client area, and for
// a window with a GL drawable the front buffer in its client area. Same
// layout as TessivFrontBuffer, every pixel opaque (alpha 0xFF); a window
// that never drew shows black. FALSE for an invalid handle or a window with
// an empty or oversized rectangle.
BOOL TessivComposeWindow(HWND window, TessivFrontBuffer *out);

// How SwapBuffers shows the back buffer. In both, a window has one depth and
// stencil buffer that a swap leaves as drawn. Exchange (the default) trades
// the colour buffers: afterwards the back buffer's colour is the frame
// before last, as PFD_SWAP_EXCHANGE allows. Copy fills the front buffer from
// the back buffer, which keeps its colour too; it costs a full-frame copy.
enum class TessivSwapMethod { Exchange, Copy };
void TessivSetSwapMethod(TessivSwapMethod method);

// Faults the display backend plays, so callers' failure paths can be tested
// on the real driver: the display cannot be opened, no config matches,
// every make-current and swap finds the context lost, or every release of
// the current context (wglMakeCurrent with no context) reports failure
// after releasing it.
enum class TessivDisplayFault { None, NoDisplay, NoConfig, ContextLost, ReleaseFails };
void TessivSetDisplayFault(TessivDisplayFault fault);

// Receives the backend's error reports (title: the call, text: the cause
// with the EGL error). Null restores the default, which writes to stderr
// when TESSIV_PLATFORM_DEBUG is set and is otherwise silent.
using TessivDiagnosticSink = void (*)(char const *title, char const *text);
void TessivSetDiagnosticSink(TessivDiagnosticSink sink);
void TessivReportDiagnostic(char const *title, char const *text);
