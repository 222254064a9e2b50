// The viewer's view on the headless display: its two-pass pick agrees with
// a pass naming every face, and picks in empty space, without a model or
// after the window is gone find nothing without failing.
#include "model.h"
#include "model_gl.h"
#include "viewer_view.h"

#include <tessiv/platform/headless.h>

#include <gtest/gtest.h>

namespace {

// The view with the pass a naive host would run: every face of the model
// under its own name.
class ProbeView : public CViewerView {
public:
    int PickNamingEveryFace(viewer::Model const &model, CPoint point)
    {
        BeginPicking(point, 5.0);
        viewer::DrawFacesNamed(model, 0, model.FaceCount());
        kolt::cvector<int> names;
        EndPickingOnView(names);
        return names.size() == 0 ? -1 : names[0];
    }
};

ProbeView *OpenView(int width, int height)
{
    auto *view = new ProbeView;
    if (!view->CreateEx(0, nullptr, "view", WS_OVERLAPPED | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr)) {
        delete view;
        return nullptr;
    }
    view->OnInitialUpdate();
    return view;
}

TEST(ViewerView, TwoPassPickFindsTheFaceANameForEveryFacePassFinds)
{
    viewer::Model const model = viewer::MakeBuiltInModel(20000);
    ProbeView *view = OpenView(160, 120);
    ASSERT_NE(view, nullptr);
    view->SetModel(&model);
    view->Render();

    int hits = 0;
    for (int y = 8; y < 120; y += 16) {
        for (int x = 8; x < 160; x += 16) {
            CPoint point(x, y);
            int expected = view->PickNamingEveryFace(model, point);
            int found = view->FindFace(point);
            if (expected < 0) {
                EXPECT_EQ(found, -1) << "nothing under (" << x << ", " << y << ")";
                continue;
            }
            ++hits;
            // Two faces at exactly the same depth may come in either order;
            // then the found face must lie at that depth too.
            if (found != expected) {
                ASSERT_GE(found, 0) << "(" << x << ", " << y << ")";
                double a[3], b[3];
                model.FaceCentre(found, a);
                model.FaceCentre(expected, b);
                EXPECT_NEAR(a[2], b[2], 5.0) << "(" << x << ", " << y << "): face " << found << " for " << expected;
            }
        }
    }
    EXPECT_GT(hits, 12) << "the model covers a good part of the view";
    EXPECT_EQ(view->FindFace(CPoint(2, 2)), -1) << "a corner of the view is empty";

    // A pick marks the face and draws without failing; a miss clears the mark.
    view->PickFace(CPoint(80, 60));
    EXPECT_GE(view->GetPickedFace(), 0);
    view->PickFace(CPoint(2, 2));
    EXPECT_EQ(view->GetPickedFace(), -1);

    view->SetModel(nullptr);
    EXPECT_EQ(view->FindFace(CPoint(80, 60)), -1) << "no model, nothing to pick";
    view->DestroyWindow();
}

TEST(ViewerView, NavigationMessagesWithoutAContextChangeNothingAndDoNotFail)
{
    viewer::Model const model = viewer::MakeBuiltInModel(2000);
    auto *view = new ProbeView;
    ASSERT_TRUE(view->CreateEx(0, nullptr, "view", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr));
    view->SetModel(&model);
    // No initial update: no context. Presses, a pick and ZoomAll must not fail.
    POINT click{50, 40};
    TessivSendMouseGesture(view->m_hWnd, TessivMouseButton::Left, &click, 1);
    EXPECT_EQ(view->GetPickedFace(), -1);
    view->ZoomAll();
    view->DestroyWindow();
    TessivResetInput();
}

}  // namespace
