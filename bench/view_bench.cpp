// CBaseView: one rotate-drag WM_MOUSEMOVE, with the status read-out, on a view
// whose Render clears and presents an empty frame (reported, no baseline).
#include <tessiv/view/base_view.h>

#include <tessiv/platform/status_bar.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/siblings/fendral/base_operation.h>
#include <tessiv/siblings/fendral/log.h>

#include <benchmark/benchmark.h>

namespace {

// A host view in rotate mode with a status bar and an operation object.
class RotatingView : public CBaseView {
public:
    RotatingView(CStatusBar *status, CBaseOperation *operation)
    {
        m_pStatusBar = status;
        m_pOperation = operation;
        m_mouseMode = kMouseRotate;
    }
};

LPARAM At(int x, int y) { return static_cast<LPARAM>((y << 16) | (x & 0xffff)); }

void RotateDragMoveOurs(benchmark::State &state)
{
    CWnd host;
    if (!host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                       nullptr)) {
        state.SkipWithError("no host window");
        return;
    }
    CStatusBar status;
    status.Create(&host);
    CBaseOperation operation;
    auto *view = new RotatingView(&status, &operation);  // deletes itself with its window
    view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &host, AFX_IDW_PANE_FIRST);
    view->SendMessage(WM_INITIALUPDATE);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(400, 300));
    int step = 0;
    for (auto _ : state) {
        // Back and forth by a few pixels, so the pose stays bounded.
        int const x = 400 + ((step++ & 1) ? 3 : -3);
        view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(x, 300));
        if ((step & 1023) == 0)
            cLog.Clear();
    }
    view->SendMessage(WM_LBUTTONUP, 0, At(400, 300));
    host.DestroyWindow();
    cLog.Clear();
}
BENCHMARK(RotateDragMoveOurs)->Name("rotate_drag_move/ours")->Unit(benchmark::kMicrosecond);

}  // namespace
