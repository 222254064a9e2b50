// CToolBar24::SetFullColorImage on a strip of 64 buttons (2304 × 36, magenta
// mask): three bitmap loads from the resource table, the disabled and
// not-active effects, and three masked image lists handed to the control.
// Reports milliseconds per call.
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/shell/tool_bar24.h>

#include <benchmark/benchmark.h>

namespace {

constexpr UINT kStrip64 = 9201;

void SetFullColorImage64(benchmark::State &state)
{
    CDynLinkLibrary executable(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
    auto *frame = new CFrameWnd;
    frame->Create(nullptr, "bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 200));
    CToolBar24 bar;
    bar.Create(frame);
    for (auto _ : state)
        bar.SetFullColorImage(kStrip64, RGB(255, 0, 255));
    if (ImageList_GetImageCount(bar.GetToolBarCtrl().GetImageList()) != 64)
        state.SkipWithError("the strip did not load as 64 images");
    bar.DestroyWindow();
    frame->DestroyWindow();
}
BENCHMARK(SetFullColorImage64)->Unit(benchmark::kMillisecond);

}  // namespace
