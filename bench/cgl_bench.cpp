// Cgl: the frame bracket against a bare EGL frame on the same kind of
// drawable, the conversions per call against the GLU projections, and the
// bump-map builders at their largest sizes (reported, no baseline).
#include <tessiv/platform/backend/bare_egl_baseline.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/imaging/pixel_image.h>
#include <tessiv/siblings/fendral/log.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Frames of half a millisecond: short repetitions, interleaved with the
// baselines', compared by their medians.
constexpr int kFrameRepetitions = 9;

HWND make_view()
{
    static bool registered = [] {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.lpszClassName = "CglBenchView";
        window_class.style = CS_OWNDC;
        return RegisterClassA(&window_class) != 0;
    }();
    if (!registered)
        return nullptr;
    return CreateWindowExA(0, "CglBenchView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                           nullptr, nullptr, nullptr);
}

void FrameBracketOurs(benchmark::State &state)
{
    HWND window = make_view();
    Cgl gl;
    if (!gl.Create(window, 1)) {
        state.SkipWithError("no GL display");
        return;
    }
    for (auto _ : state) {
        gl.SceneBegin();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gl.Flip();
        gl.SceneEnd();
    }
    gl.Release();
    DestroyWindow(window);
    cLog.Clear();
}
BENCHMARK(FrameBracketOurs)->Name("frame_bracket/ours")->Unit(benchmark::kMicrosecond)->Repetitions(kFrameRepetitions)->MinTime(0.2)->ReportAggregatesOnly();

void FrameBracketBareEgl(benchmark::State &state)
{
    if (!tessiv_platform::bare_egl::open(kWidth, kHeight)) {
        state.SkipWithError("no EGL display");
        return;
    }
    for (auto _ : state)
        tessiv_platform::bare_egl::frame();
    tessiv_platform::bare_egl::close();
}
BENCHMARK(FrameBracketBareEgl)->Name("frame_bracket/bare_egl")->Unit(benchmark::kMicrosecond)->Repetitions(kFrameRepetitions)->MinTime(0.2)->ReportAggregatesOnly();

void FrameBracketBareEglExchanging(benchmark::State &state)
{
    if (!tessiv_platform::bare_egl::open(kWidth, kHeight)) {
        state.SkipWithError("no EGL display");
        return;
    }
    for (auto _ : state)
        tessiv_platform::bare_egl::exchanging_frame();
    tessiv_platform::bare_egl::close();
}
BENCHMARK(FrameBracketBareEglExchanging)->Name("frame_bracket/bare_egl_exchange")->Unit(benchmark::kMicrosecond)->Repetitions(kFrameRepetitions)->MinTime(0.2)->ReportAggregatesOnly();

// A view with a perspective camera, current for the whole run.
class ConvertFixture {
public:
    ConvertFixture() : window_(make_view())
    {
        ok_ = gl_.Create(window_, 1) == 1;
        gl_.SceneBegin();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, static_cast<double>(kWidth) / kHeight, 0.5, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(3, 4, 12, 0, 0, 0, 0, 1, 0);
    }
    ~ConvertFixture()
    {
        gl_.SceneEnd();
        gl_.Release();
        DestroyWindow(window_);
        cLog.Clear();
    }
    bool ok() const { return ok_; }
    Cgl &gl() { return gl_; }

private:
    HWND window_;
    Cgl gl_;
    bool ok_ = false;
};

void Cvt3Dto2DOurs(benchmark::State &state)
{
    ConvertFixture view;
    kolt::Pnt3 p(0.25, -0.5, 1);
    int x = 0, y = 0;
    double depth = 0;
    for (auto _ : state) {
        p.x += 1e-9;
        benchmark::DoNotOptimize(view.gl().Cvt3Dto2D(&x, &y, &depth, &p));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Cvt3Dto2DOurs)->Name("cvt3dto2d/ours");

void Cvt3Dto2DGlu(benchmark::State &state)
{
    ConvertFixture view;
    kolt::Pnt3 p(0.25, -0.5, 1);
    for (auto _ : state) {
        p.x += 1e-9;
        double modelview[16], projection[16], x, y, z;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        benchmark::DoNotOptimize(gluProject(p.x, p.y, p.z, modelview, projection, viewport, &x, &y, &z));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Cvt3Dto2DGlu)->Name("cvt3dto2d/gluProject");

void Cvt2Dto3DOurs(benchmark::State &state)
{
    ConvertFixture view;
    kolt::Pnt3 reference(0.25, -0.5, 1);
    int x = 0;
    for (auto _ : state) {
        x = (x + 1) & 511;
        benchmark::DoNotOptimize(view.gl().Cvt2Dto3D(x, 300, reference));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Cvt2Dto3DOurs)->Name("cvt2dto3d_reference/ours");

void Cvt2Dto3DGlu(benchmark::State &state)
{
    ConvertFixture view;
    kolt::Pnt3 reference(0.25, -0.5, 1);
    int x = 0;
    for (auto _ : state) {
        x = (x + 1) & 511;
        double modelview[16], projection[16], wx, wy, wz, ox, oy, oz;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(reference.x, reference.y, reference.z, modelview, projection, viewport, &wx, &wy, &wz);
        benchmark::DoNotOptimize(
            gluUnProject(x, kHeight - 300, wz, modelview, projection, viewport, &ox, &oy, &oz));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Cvt2Dto3DGlu)->Name("cvt2dto3d_reference/gluUnProject");

// The largest cube map Cgl makes, built and uploaded (six 2048 x 2048 RGB
// faces); the texture is deleted untimed.
void NormalizationCubeMap(benchmark::State &state)
{
    HWND window = make_view();
    Cgl gl;
    if (!gl.Create(window, 1)) {
        state.SkipWithError("no GL display");
        return;
    }
    for (auto _ : state) {
        unsigned int id = 0;
        gl.GenNormalizationCubeMap(Cgl::kMaxCubeMapSize, id);
        state.PauseTiming();
        gl.SceneBegin();
        glDeleteTextures(1, &id);
        gl.SceneEnd();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 6 * Cgl::kMaxCubeMapSize * Cgl::kMaxCubeMapSize);
    gl.Release();
    DestroyWindow(window);
    cLog.Clear();
}
BENCHMARK(NormalizationCubeMap)->Name("cube_map_2048/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

// A height map of 4096 x 4096 (the largest bump bitmap we expect; the
// normal map is computed in place after a full copy).
void NormalMapFromHeightMap(benchmark::State &state)
{
    unsigned int const side = static_cast<unsigned int>(state.range(0));
    kolt::PixelImage heights;
    heights.SetSize(side, side);
    std::uint32_t seed = 12345;
    for (kolt::ColorI *pixel = heights.GetBuffer(); pixel != heights.GetBufferEnd(); ++pixel) {
        seed = seed * 1664525u + 1013904223u;
        *pixel = kolt::ColorI(static_cast<unsigned char>(seed >> 24), 0, 0, 255);
    }
    for (auto _ : state) {
        state.PauseTiming();
        kolt::PixelImage image(heights);
        state.ResumeTiming();
        Cgl::MakeNormalMapFromHMap(image, 10.0);
        benchmark::DoNotOptimize(image.GetBuffer());
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(NormalMapFromHeightMap)->Name("normal_map/ours")->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
