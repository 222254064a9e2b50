// One WM_MOUSEMOVE dispatched through a three-level message-map chain (the
// handler sits in the base-most map, so the lookup walks all three) beside a
// plain switch window procedure doing the same work. "mousemove_send" goes
// through SendMessage on both sides, as a real message does;
// "mousemove_procedure" calls each window procedure directly, which leaves
// only the framework's own cost.
#include <tessiv/platform/cwnd.h>

#include <benchmark/benchmark.h>

namespace {

long long handled_sum = 0;

class LevelOne : public CWnd {
public:
    afx_msg void OnMouseMove(UINT flags, CPoint point) { handled_sum += point.x + point.y + flags; }
    afx_msg void OnLButtonDown(UINT, CPoint) {}
    afx_msg void OnLButtonUp(UINT, CPoint) {}
    afx_msg void OnSize(UINT, int, int) {}
    afx_msg void OnKeyDown(UINT, UINT, UINT) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LevelOne, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

class LevelTwo : public LevelOne {
public:
    afx_msg void OnRButtonDown(UINT, CPoint) {}
    afx_msg void OnRButtonUp(UINT, CPoint) {}
    afx_msg BOOL OnEraseBkgnd(CDC *) { return TRUE; }
    afx_msg void OnKeyUp(UINT, UINT, UINT) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LevelTwo, LevelOne)
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_ERASEBKGND()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

class LevelThree : public LevelTwo {
public:
    afx_msg void OnMButtonDblClk(UINT, CPoint) {}
    afx_msg BOOL OnMouseWheel(UINT, short, CPoint) { return TRUE; }
    afx_msg void OnSetFocus(CWnd *) {}
    afx_msg void OnKillFocus(CWnd *) {}
    afx_msg void OnNcLButtonUp(UINT, CPoint) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LevelThree, LevelTwo)
    ON_WM_MBUTTONDBLCLK()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_NCLBUTTONUP()
END_MESSAGE_MAP()

// The baseline: the same messages handled by one switch.
LRESULT switch_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        handled_sum += GET_X_LPARAM(lparam) + GET_Y_LPARAM(lparam) + static_cast<UINT>(wparam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
    case WM_SIZE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return 0;
    case WM_ERASEBKGND:
    case WM_MOUSEWHEEL:
        return TRUE;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

HWND make_switch_window()
{
    static bool registered = [] {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = switch_procedure;
        window_class.lpszClassName = "MessageMapBenchSwitch";
        return RegisterClassA(&window_class) != 0;
    }();
    if (!registered)
        return nullptr;
    return CreateWindowExA(0, "MessageMapBenchSwitch", "switch", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
}

LPARAM const kPoint = MAKELPARAM(120, 45);
// A few nanoseconds a message: short repetitions, interleaved with the
// baseline's, compared by their medians.
constexpr int kRepetitions = 25;

void mousemove_send_ours(benchmark::State &state)
{
    LevelThree window;
    if (!window.CreateEx(0, nullptr, "map", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr)) {
        state.SkipWithError("window creation failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessageA(window.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, kPoint));
    benchmark::DoNotOptimize(handled_sum);
}
BENCHMARK(mousemove_send_ours)->Name("mousemove_send/ours")->Repetitions(kRepetitions)->MinTime(0.05)->ReportAggregatesOnly();

void mousemove_send_switch(benchmark::State &state)
{
    HWND window = make_switch_window();
    if (!window) {
        state.SkipWithError("window creation failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, kPoint));
    benchmark::DoNotOptimize(handled_sum);
    DestroyWindow(window);
}
BENCHMARK(mousemove_send_switch)->Name("mousemove_send/switch_procedure")->Repetitions(kRepetitions)->MinTime(0.05)->ReportAggregatesOnly();

void mousemove_procedure_ours(benchmark::State &state)
{
    LevelThree window;
    if (!window.CreateEx(0, nullptr, "map", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr)) {
        state.SkipWithError("window creation failed");
        return;
    }
    HWND handle = window.m_hWnd;
    for (auto _ : state) {
        benchmark::DoNotOptimize(handle);
        benchmark::DoNotOptimize(AfxWndProc(handle, WM_MOUSEMOVE, MK_LBUTTON, kPoint));
    }
    benchmark::DoNotOptimize(handled_sum);
}
BENCHMARK(mousemove_procedure_ours)->Name("mousemove_procedure/ours")->Repetitions(kRepetitions)->MinTime(0.05)->ReportAggregatesOnly();

void mousemove_procedure_switch(benchmark::State &state)
{
    HWND window = make_switch_window();
    if (!window) {
        state.SkipWithError("window creation failed");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(window);
        benchmark::DoNotOptimize(switch_procedure(window, WM_MOUSEMOVE, MK_LBUTTON, kPoint));
    }
    benchmark::DoNotOptimize(handled_sum);
    DestroyWindow(window);
}
BENCHMARK(mousemove_procedure_switch)->Name("mousemove_procedure/switch_procedure")->Repetitions(kRepetitions)->MinTime(0.05)->ReportAggregatesOnly();

}  // namespace
