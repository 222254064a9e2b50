// The X11 backend's input-to-screen latency on the viewer's 1-million-
// triangle model, under a private Xvfb: one XTest pointer motion of an
// Alt+left rotate drag until the view has swapped the frame it caused,
// beside the headless backend handling the same move posted to its queue
// (measured in a child process, since a process runs on one backend); and
// the frames per second of a continuous rotation.
#include "model.h"
#include "viewer_view.h"

#include <tessiv/platform/display_backend.h>
#include <tessiv/platform/headless.h>
#include <tessiv/tests/x11/x11_session.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTriangles = 1000000;
constexpr int kLeft = 40, kTop = 30;

viewer::Model const &BigModel()
{
    static viewer::Model const model = viewer::MakeBuiltInModel(kTriangles);
    return model;
}

class CountingView : public CViewerView {
public:
    long frames = 0;
    void Render() override
    {
        CViewerView::Render();
        ++frames;
    }
};

// The view on a frameless top-level window at (kLeft, kTop).
struct ViewWindow {
    CWnd host;
    CountingView *view = nullptr;
    ViewWindow()
    {
        host.CreateEx(0, AfxRegisterWndClass(0), "x11 bench", WS_POPUP | WS_VISIBLE, kLeft, kTop, kWidth, kHeight,
                      nullptr, nullptr);
        view = new CountingView;
        view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &host, AFX_IDW_PANE_FIRST);
        view->SetModel(&BigModel());
        view->SendMessage(WM_INITIALUPDATE);
    }
};

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Pumps until the view has drawn frames past before (gives up after 10 s).
bool WaitForFrame(CountingView *view, long before)
{
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (view->frames <= before) {
        if (std::chrono::steady_clock::now() > give_up)
            return false;
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            return false;
        DispatchMessageA(&msg);
    }
    return true;
}

// An Alt+left drag held through the real server on the shared view window
// for the life of the object; ready() is false (the benchmark skipped)
// without a display.
class RealDrag {
public:
    explicit RealDrag(benchmark::State &state) : session_(X11Session::Get())
    {
        if (!session_.ready()) {
            state.SkipWithError(("no X display: " + session_.why()).c_str());
            return;
        }
        static ViewWindow shared;
        window_ = &shared;
        session_.Settle();
        session_.Key(XK_Alt_L, true);
        session_.MoveTo(kLeft + 300, kTop + 250);
        session_.Button(1, true);
    }
    ~RealDrag()
    {
        if (!window_)
            return;
        session_.Button(1, false);
        session_.Key(XK_Alt_L, false);
    }
    RealDrag(RealDrag const &) = delete;
    RealDrag &operator=(RealDrag const &) = delete;
    bool ready() const { return window_ != nullptr; }
    CountingView *view() const { return window_->view; }
    // Moves the pointer to (x, y) of the view through XTest.
    void Motion(int x, int y) const { XTestFakeMotionEvent(session_.probe(), -1, kLeft + x, kTop + y, CurrentTime); }
    void Flush() const { XFlush(session_.probe()); }
    void Sync() const { XSync(session_.probe(), False); }

private:
    X11Session &session_;
    ViewWindow *window_ = nullptr;
};

// One move of the drag: XTest motion, the event, the queue, the view's
// rotation, its frame and eglSwapBuffers.
void RotateLatencyX11(benchmark::State &state)
{
    RealDrag drag(state);
    if (!drag.ready())
        return;
    int x = 300;
    bool lost = false;
    for (auto _ : state) {
        x = x == 300 ? 301 : 300;
        long before = drag.view()->frames;
        auto start = std::chrono::steady_clock::now();
        drag.Motion(x, 250);
        drag.Flush();
        lost |= !WaitForFrame(drag.view(), before);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    if (lost)
        state.SkipWithError("a motion brought no frame");
}
BENCHMARK(RotateLatencyX11)->Name("rotate_move_latency_1m/ours")->Unit(benchmark::kMillisecond)->UseManualTime();

// Frames per second while the pointer keeps moving: ten motions sent at
// once, the view drawing as fast as the queue feeds it (every move it takes
// draws a frame).
void ContinuousRotationX11(benchmark::State &state)
{
    RealDrag drag(state);
    if (!drag.ready())
        return;
    long frames = 0;
    for (auto _ : state) {
        long before = drag.view()->frames;
        for (int i = 1; i <= 10; ++i)
            drag.Motion(300 + i % 2, 250 + i);
        drag.Sync();
        WaitForFrame(drag.view(), before + 9);
        frames += drag.view()->frames - before;
    }
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(ContinuousRotationX11)->Name("continuous_rotation_1m/x11")->Unit(benchmark::kMillisecond)->UseRealTime();

// The headless backend's handling of the same move, posted to its queue and
// taken by the same pump; run in a child process on the headless backend,
// which reports seconds per move.
double HeadlessSecondsPerMove()
{
    static double seconds = [] {
        std::string self(4096, '\0');
        ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
        if (length <= 0)
            return 0.0;
        self.resize(static_cast<std::size_t>(length));
        std::string out = "/tmp/tessiv_x11_bench_" + std::to_string(getpid()) + ".txt";
        std::string command = "TESSIV_BACKEND=headless TESSIV_X11_BENCH_CHILD=" + out + " '" + self +
                              "' --benchmark_filter=NONE > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return 0.0;
        std::ifstream in(out);
        double value = 0;
        in >> value;
        std::remove(out.c_str());
        return value;
    }();
    return seconds;
}

void RotateHeadless(benchmark::State &state)
{
    double seconds = HeadlessSecondsPerMove();
    if (seconds <= 0) {
        state.SkipWithError("the headless child did not report");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(seconds);
}
BENCHMARK(RotateHeadless)->Name("rotate_move_latency_1m/headless_post")->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// In the child: the posted moves, timed over enough moves to settle.
struct HeadlessChild {
    HeadlessChild()
    {
        char const *out = std::getenv("TESSIV_X11_BENCH_CHILD");
        if (!out)
            return;
        ViewWindow window;
        TessivSetKeyDown(VK_MENU, true);
        POINT down{300, 250};
        TessivPostMouseMove(window.view->m_hWnd, down);
        Pump();
        window.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 250));
        TessivSetKeyDown(VK_LBUTTON, true);
        int const moves = 40;
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < moves; ++i) {
            long before = window.view->frames;
            TessivPostMouseMove(window.view->m_hWnd, POINT{i % 2 ? 301 : 300, 250});
            WaitForFrame(window.view, before);
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / moves;
        window.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 250));
        std::ofstream(out) << seconds << "\n";
    }
};

}  // namespace

// Runs the child's measurement before the benchmark main, when this program
// was started as the headless child.
[[maybe_unused]] int const headless_child_ran = (HeadlessChild(), 0);
