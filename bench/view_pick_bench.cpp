// CBaseView picking: a pass whose hit records fill the selection buffer,
// read back by EndPickingOnView (the quadratic exchange sort) and, for the
// cost of the pass without the sort, by the unsorted list form. Reported,
// no baseline.
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/view/base_view.h>

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

class BenchView : public CBaseView {
public:
    double &zoom() { return m_zoom; }
};

BenchView *OpenView()
{
    auto *view = new BenchView;
    if (!view->CreateEx(0, nullptr, "view", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr)) {
        delete view;
        return nullptr;
    }
    view->OnInitialUpdate();
    view->SetIdentityView();
    view->zoom() = 100;
    return view;
}

// Records of as many names as the name stack holds, at scattered depths, until
// the buffer of 20,000 values is nearly full: 3 header values per record.
// Returns the count of names written.
int DrawFullBuffer()
{
    GLint stack_depth = 0;
    glGetIntegerv(GL_MAX_NAME_STACK_DEPTH, &stack_depth);
    int const per_record = std::min(stack_depth, 64) - 1;  // the base name is already on the stack
    int const records = 20000 / (3 + per_record + 1);
    for (int record = 0; record < records; ++record) {
        for (int level = 0; level < per_record; ++level)
            glPushName(static_cast<GLuint>(record * 100 + level));
        double const z = ((record * 7919) % records) - records / 2.0;
        glBegin(GL_QUADS);
        glVertex3d(-10, -10, z);
        glVertex3d(10, -10, z);
        glVertex3d(10, 10, z);
        glVertex3d(-10, 10, z);
        glEnd();
        for (int level = 0; level < per_record; ++level)
            glPopName();
    }
    return records * (per_record + 1);
}

template <bool Sorted>
void FullBufferPass(benchmark::State &state)
{
    BenchView *view = OpenView();
    if (!view) {
        state.SkipWithError("no view window");
        return;
    }
    kolt::cvector<int> names;
    int written = 0;
    for (auto _ : state) {
        view->BeginPicking(CPoint(100, 100), 5);
        written = DrawFullBuffer();
        bool const found = Sorted ? view->EndPickingOnView(names) : view->EndPicking(names);
        if (!found || static_cast<int>(names.size()) != written) {
            state.SkipWithError("the pass did not return every name");
            break;
        }
        cLog.Clear();
    }
    state.counters["names"] = written;
    view->DestroyWindow();
    cLog.Clear();
}

BENCHMARK(FullBufferPass<true>)->Name("end_picking_on_view_full_buffer/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(FullBufferPass<false>)->Name("end_picking_list_full_buffer/ours")->Unit(benchmark::kMillisecond);

}  // namespace
