// Test helper: a CBaseView-derived view on its own headless window, past its
// initial update, with the viewing node reset so scene and camera axes
// agree: scene (x, y) lands on pixel (w/2 + x / s, h/2 - y / s), s being
// 2 * zoom / w world units per pixel, and a larger scene z is nearer. The
// fixture's view is 200 x 200 at zoom 100: one unit a pixel, the centre
// pixel (100, 100) on the scene origin.
#pragma once

#include <tessiv/view/base_view.h>

#include <gtest/gtest.h>

// Creates the window of view (which deletes itself when the window is
// destroyed) with a client area of width x height pixels and runs the first
// initial update. The caller checks HasFailure().
template <class View>
View *OpenTestView(int width, int height)
{
    auto *view = new View;
    if (!view->CreateEx(0, nullptr, "view", WS_OVERLAPPED | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr)) {
        delete view;
        ADD_FAILURE() << "the view's window could not be created";
        return nullptr;
    }
    view->OnInitialUpdate();
    view->SetIdentityView();
    view->SetViewDir();
    return view;
}

// View needs gl() and zoom() accessors to its protected fields.
template <class View>
class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        view_ = OpenTestView<View>(200, 200);
        ASSERT_NE(view_, nullptr);
        ASSERT_EQ(view_->gl().Width(), 200);
        ASSERT_EQ(view_->gl().Height(), 200);
        view_->zoom() = 100;
    }
    void TearDown() override
    {
        if (view_)
            view_->DestroyWindow();
    }
    View *view_ = nullptr;
};
