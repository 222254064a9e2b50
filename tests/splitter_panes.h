// Test helper for splitter tests: a view class for the panes that counts its
// live objects, so a test can check that panes die with their windows, and
// a pump that dispatches what the posted input queued. Include it in one
// source file of a test program.
#pragma once

#include <tessiv/platform/cview.h>
#include <tessiv/platform/winuser.h>

namespace {

int panes_alive = 0;

class PaneView : public CView {
    DECLARE_DYNCREATE(PaneView)

public:
    PaneView() { ++panes_alive; }
    ~PaneView() override { --panes_alive; }
    void OnDraw(CDC *) override {}
};
IMPLEMENT_DYNCREATE(PaneView, CView)

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

}  // namespace
