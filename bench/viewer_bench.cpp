// The viewer's costs on a 1-million-triangle model: one frame of its view
// beside a bare EGL program drawing the same client arrays with the same
// state, and one picking pass under a point beside a pass that names every
// face; also one rotating mouse move with the status read-out.
#include "model.h"
#include "model_gl.h"
#include "viewer_view.h"

#include <tessiv/platform/backend/bare_egl_baseline.h>
#include <tessiv/platform/headless.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTriangles = 1000000;
constexpr int kViewHeight = kHeight - CStatusBar::kHeight;

viewer::Model const &BigModel()
{
    static viewer::Model const model = viewer::MakeBuiltInModel(kTriangles);
    return model;
}

// A view that can also run the picking pass a naive host would: every face
// under its own name, nothing culled.
class BenchView : public CViewerView {
public:
    int PickNamingEveryFace(CPoint point)
    {
        viewer::Model const &model = BigModel();
        BeginPicking(point, 5.0);
        viewer::DrawFacesNamed(model, 0, model.FaceCount());
        kolt::cvector<int> names;
        EndPickingOnView(names);
        return names.size() == 0 ? -1 : names[0];
    }
};

// One frame window holding the view, made once for every case.
struct ViewerWindow {
    CFrameWnd *frame = nullptr;
    BenchView *view = nullptr;
    CStatusBar status;
    CBaseOperation operation;

    ViewerWindow()
    {
        frame = new CFrameWnd;
        frame->Create(nullptr, "viewer bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, kWidth, kHeight));
        view = new BenchView;
        view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kViewHeight),
                     frame, AFX_IDW_PANE_FIRST);
        status.Create(frame);
        UINT const panes[] = {ID_SEPARATOR, 1, 2, 3};
        status.SetIndicators(panes, 4);
        frame->RecalcLayout();
        // Grow the frame by its borders so the view has the baseline's size.
        CRect frame_window, view_client;
        frame->GetWindowRect(&frame_window);
        view->GetClientRect(&view_client);
        frame->MoveWindow(0, 0, frame_window.Width() + kWidth - view_client.Width(),
                          frame_window.Height() + kViewHeight - view_client.Height());
        view->SetModel(&BigModel());
        frame->InitialUpdateFrame(nullptr, TRUE);
    }
    static ViewerWindow &Get()
    {
        static ViewerWindow window;
        return window;
    }
};

void ViewerFrameOurs(benchmark::State &state)
{
    CViewerView *view = ViewerWindow::Get().view;
    for (auto _ : state)
        view->Render();
    state.counters["triangles"] = BigModel().FaceCount();
}
BENCHMARK(ViewerFrameOurs)->Name("viewer_frame_1m/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

// The same state, matrices, arrays and clear as the view's frame, set up by
// hand on a bare context.
void BareFrame(void *data)
{
    static bool ready = false;
    auto const &model = *static_cast<viewer::Model const *>(data);
    if (!ready) {
        ready = true;
        GLfloat const ambient[] = {0.2f, 0.2f, 0.2f, 1.0f}, diffuse[] = {0.4f, 0.4f, 0.4f, 1.0f},
                      specular[] = {0.8f, 0.8f, 0.8f, 1.0f}, shininess[] = {128},
                      light_diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f}, light_specular[] = {0.1f, 0.1f, 0.0f, 0.1f},
                      light_position[] = {0, 0, 1000, 0},
                      global_ambient[] = {55 / 255.0f, 55 / 255.0f, 55 / 255.0f, 1.0f};
        glViewport(0, 0, kWidth, kViewHeight);
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
        glShadeModel(GL_SMOOTH);
        glDisable(GL_CULL_FACE);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, light_diffuse);
        glLightfv(GL_LIGHT0, GL_SPECULAR, light_specular);
        glLightfv(GL_LIGHT0, GL_POSITION, light_position);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 60);
        glEnable(GL_LIGHT0);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, global_ambient);
        glEnable(GL_LIGHTING);
        glDepthRange(0.0, 1.0);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_NORMALIZE);
    }
    double const half_height = 500.0 * kViewHeight / kWidth;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-500, 500, -half_height, half_height, -20000, 20000);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0.10f, 0.12f, 0.16f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, 0, 800, 0, 0, 0, 0, 1, 0);
    glRotated(-10, 1, 0, 0);
    glRotated(-50, 0, 1, 0);
    viewer::DrawModel(model);
}

void ViewerFrameBareEgl(benchmark::State &state)
{
    viewer::Model const &model = BigModel();
    if (!tessiv_platform::bare_egl::open(kWidth, kViewHeight)) {
        state.SkipWithError("no EGL display");
        return;
    }
    for (auto _ : state)
        tessiv_platform::bare_egl::drawing_frame(BareFrame, const_cast<viewer::Model *>(&model));
    tessiv_platform::bare_egl::close();
}
BENCHMARK(ViewerFrameBareEgl)->Name("viewer_frame_1m/bare_egl")->Unit(benchmark::kMillisecond)->UseRealTime();

void PickOurs(benchmark::State &state)
{
    BenchView *view = ViewerWindow::Get().view;
    CPoint centre(kWidth / 2 - 120, kViewHeight / 2);
    int face = -1;
    for (auto _ : state)
        benchmark::DoNotOptimize(face = view->FindFace(centre));
    if (face < 0)
        state.SkipWithError("the pick found nothing");
    state.counters["runs_drawn"] = view->GetLastRunsDrawn();
    state.counters["hits"] = view->GetLastHits().size();
}
BENCHMARK(PickOurs)->Name("pick_1m/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

void PickNamingEveryFace(benchmark::State &state)
{
    BenchView *view = ViewerWindow::Get().view;
    CPoint centre(kWidth / 2 - 120, kViewHeight / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(view->PickNamingEveryFace(centre));
}
BENCHMARK(PickNamingEveryFace)->Name("pick_1m/every_face_named")->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(2);

// An Alt+left drag: the press detects rotation, each move turns the node,
// draws the frame and writes the status panes.
void RotateMoveOurs(benchmark::State &state)
{
    ViewerWindow &window = ViewerWindow::Get();
    window.view->ConnectStatus(&window.status, &window.operation);
    TessivSetKeyDown(VK_MENU, true);
    window.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 250));
    int x = 300;
    for (auto _ : state) {
        x = x == 300 ? 301 : 300;
        window.view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 250));
    }
    window.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 250));
    TessivSetKeyDown(VK_MENU, false);
    window.view->ConnectStatus(nullptr, nullptr);
}
BENCHMARK(RotateMoveOurs)->Name("rotate_move_1m/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
