#include <tessiv/platform/headless.h>
#include <tessiv/platform/status_bar.h>
#include <tessiv/siblings/fendral/base_operation.h>
#include <tessiv/tests/view/view_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

namespace {

// A view whose frame draws what the test hands it, unlit, in scene
// coordinates, between the scene begin and the flip.
class OverlayView : public CBaseView {
public:
    std::function<void(OverlayView &)> draw;
    Cgl &gl() { return m_gl; }
    double &zoom() { return m_zoom; }
    kolt::Pnt3 &view_side() { return m_viewSide; }
    void connect(CStatusBar *bar, CBaseOperation *operation)
    {
        m_pStatusBar = bar;
        m_pOperation = operation;
    }
    void Render() override
    {
        m_gl.SceneBegin();
        SetProjection();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SetModelView();
        RotAxis();
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1, 1, 1);
        if (draw)
            draw(*this);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        m_gl.Flip();
        m_gl.SceneEnd();
    }
};

// A 200 x 200 view at zoom 100: scene (x, y) is pixel (100 + x, 100 - y).
class ViewOverlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view_ = OpenTestView<OverlayView>(200, 200);
        ASSERT_NE(view_, nullptr);
        ASSERT_EQ(view_->gl().Width(), 200);
        view_->zoom() = 100;
    }
    void TearDown() override
    {
        if (view_)
            view_->DestroyWindow();
    }
    // Draws one frame and reads it back.
    TessivFrontBuffer Snapshot(std::function<void(OverlayView &)> draw)
    {
        view_->draw = std::move(draw);
        view_->Render();
        TessivFrontBuffer front;
        EXPECT_TRUE(TessivReadFrontBuffer(view_->m_hWnd, &front));
        EXPECT_EQ(front.width, 200);
        return front;
    }
    // Whether any pixel within one pixel of (x, y) is lit; rasterised lines
    // may land on either side of the exact position.
    static bool LitNear(TessivFrontBuffer const &frame, int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int const px = x + dx, py = y + dy;
                if (px >= 0 && py >= 0 && px < frame.width && py < frame.height &&
                    (frame.pixels[static_cast<std::size_t>(py * frame.width + px)] & 0xFFFFFF) != 0)
                    return true;
            }
        return false;
    }
    static int LitCount(TessivFrontBuffer const &frame)
    {
        int count = 0;
        for (std::uint32_t pixel : frame.pixels)
            count += (pixel & 0xFFFFFF) != 0;
        return count;
    }
    OverlayView *view_ = nullptr;
};

TEST_F(ViewOverlayTest, ArrowHeadsPointByDirection)
{
    // Direction 0 opens its wings towards +x: tip at the centre, wings 20 up
    // and down about 34.6 pixels to the right.
    TessivFrontBuffer const left = Snapshot([](OverlayView &v) { v.DrawArrow(0, 0, 0, 0, 20); });
    EXPECT_TRUE(LitNear(left, 100, 100));
    EXPECT_TRUE(LitNear(left, 117, 90));
    EXPECT_TRUE(LitNear(left, 117, 110));
    EXPECT_TRUE(LitNear(left, 134, 80));
    EXPECT_FALSE(LitNear(left, 83, 90)) << "nothing on the pointing side";
    EXPECT_FALSE(LitNear(left, 117, 100)) << "the head is open";

    TessivFrontBuffer const other = Snapshot([](OverlayView &v) { v.DrawArrow(0, 0, 0, 7, 20); });
    EXPECT_EQ(other.pixels, left.pixels) << "an unknown direction draws like 0";

    TessivFrontBuffer const right = Snapshot([](OverlayView &v) { v.DrawArrow(0, 0, 0, 1, 20); });
    EXPECT_TRUE(LitNear(right, 83, 90));
    EXPECT_FALSE(LitNear(right, 117, 90));

    // Direction 2 points towards +y (up on screen): wings below the tip.
    TessivFrontBuffer const up = Snapshot([](OverlayView &v) { v.DrawArrow(20, 0, 0, 2, 20); });
    EXPECT_TRUE(LitNear(up, 110, 117));
    EXPECT_TRUE(LitNear(up, 130, 117));
    EXPECT_FALSE(LitNear(up, 110, 83));

    TessivFrontBuffer const down = Snapshot([](OverlayView &v) { v.DrawArrow(20, 0, 0, 3, 20); });
    EXPECT_TRUE(LitNear(down, 110, 83));
    EXPECT_FALSE(LitNear(down, 110, 117));
}

TEST_F(ViewOverlayTest, ArcSpansHalfTheSweepEachSide)
{
    // Radius 50, sweep 90: from -45 to +45 degrees around +x.
    TessivFrontBuffer const arc = Snapshot([](OverlayView &v) { v.DrawArc(50, 90); });
    auto at = [](double degrees, int *x, int *y) {
        double const radians = degrees / 180 * 3.141592653589793;
        *x = static_cast<int>(std::lround(100 + 50 * std::cos(radians)));
        *y = static_cast<int>(std::lround(100 - 50 * std::sin(radians)));
    };
    int x = 0, y = 0;
    for (double degrees : {0.0, 20.0, -20.0, 44.0, -44.0}) {
        at(degrees, &x, &y);
        EXPECT_TRUE(LitNear(arc, x, y)) << degrees << " degrees";
    }
    for (double degrees : {55.0, -55.0, 180.0}) {
        at(degrees, &x, &y);
        EXPECT_FALSE(LitNear(arc, x, y)) << degrees << " degrees";
    }
    EXPECT_EQ(LitCount(Snapshot([](OverlayView &v) { v.DrawArc(50, 1.9); })), 0) << "below 2 degrees: nothing";
    EXPECT_EQ(LitCount(Snapshot([](OverlayView &v) { v.DrawArc(50, -40); })), 0);
}

TEST_F(ViewOverlayTest, RectAroundPointIsSquareBesideTheViewSide)
{
    // With the identity view the side is -x, so the square stands edge-on
    // 2000 units left of the point: zoom 2500 puts that on pixel column 20 (a
    // point at x 12.5 centres it on the column), and
    // its corners 1.3 x 10 pixels away along the diagonals reach about
    // 9.2 pixels above and below.
    view_->zoom() = 2500;
    ASSERT_DOUBLE_EQ(view_->view_side().x, -1);
    TessivFrontBuffer const frame = Snapshot([](OverlayView &v) {
        v.DrawRectAroundPoint(CPoint(100, 100), kolt::Pnt3(12.5, 0, 0), 21, RGB(255, 0, 0));
    });
    std::uint32_t const centre = frame.pixels[100 * 200 + 20];
    EXPECT_EQ(centre & 0xFFFFFF, 0xFF0000u) << "red from the low byte of the COLORREF";
    EXPECT_TRUE(LitNear(frame, 20, 93));
    EXPECT_TRUE(LitNear(frame, 20, 107));
    EXPECT_FALSE(LitNear(frame, 20, 113));
    EXPECT_FALSE(LitNear(frame, 20, 87));
    EXPECT_FALSE(LitNear(frame, 100, 100)) << "nothing at the point itself";
}

TEST_F(ViewOverlayTest, BillboardFacesTheViewerAndRestores)
{
    auto tilted_square = [](OverlayView &v, bool billboard) {
        glTranslated(50, 0, 0);
        glRotated(90, 0, 1, 0);  // edge-on without the bracket
        if (billboard)
            v.billboardCheatSphericalBegin();
        glBegin(GL_QUADS);
        glVertex3d(-10, -10, 0);
        glVertex3d(10, -10, 0);
        glVertex3d(10, 10, 0);
        glVertex3d(-10, 10, 0);
        glEnd();
        if (billboard)
            v.billboardEnd();
    };
    TessivFrontBuffer const plain = Snapshot([&](OverlayView &v) { tilted_square(v, false); });
    EXPECT_LT(LitCount(plain), 40);

    double before[16] = {}, after[16] = {};
    GLint mode = 0;
    TessivFrontBuffer const faced = Snapshot([&](OverlayView &v) {
        glGetDoublev(GL_MODELVIEW_MATRIX, before);
        tilted_square(v, true);
        glGetDoublev(GL_MODELVIEW_MATRIX, after);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
    });
    EXPECT_GE(LitCount(faced), 18 * 18) << "facing the viewer, the square shows its face";
    EXPECT_TRUE(LitNear(faced, 150, 100)) << "where the translation put it";
    EXPECT_TRUE(LitNear(faced, 142, 92));
    EXPECT_FALSE(LitNear(faced, 100, 100));
    EXPECT_EQ(mode, GL_MODELVIEW);
    // The model-view after the bracket is the one before plus the
    // translation and rotation drawn inside the frame.
    EXPECT_NEAR(after[12], before[12] + 50, 1e-4);
    EXPECT_NEAR(after[0], 0, 1e-6);  // GL keeps the matrix in single precision
}

TEST_F(ViewOverlayTest, ConvertVecToPointKeepsThePreviousPixelForPointsOutOfDepth)
{
    view_->Render();  // leaves the model-view of the frame in the context
    kolt::cvector<kolt::Pnt3> points;
    kolt::cvector<CPoint> pixels;
    pixels.push_back(CPoint(7, 7));
    view_->ConvertVecToPoint(points, pixels);
    EXPECT_EQ(pixels.size(), 0u);
    EXPECT_EQ(pixels.capacity(), 0u);

    points.push_back(kolt::Pnt3(50, 50, 0));
    points.push_back(kolt::Pnt3(0, 0, -40000));  // behind the far plane
    points.push_back(kolt::Pnt3(-30, 20, 0));
    view_->ConvertVecToPoint(points, pixels);
    ASSERT_EQ(pixels.size(), 3u);
    EXPECT_NEAR(pixels[0].x, 150, 1);
    EXPECT_NEAR(pixels[0].y, 50, 1);
    EXPECT_EQ(pixels[1], pixels[0]);
    EXPECT_NEAR(pixels[2].x, 70, 1);
    EXPECT_NEAR(pixels[2].y, 80, 1);
    EXPECT_FALSE(view_->gl().IsInScene());

    points.clear();
    points.push_back(kolt::Pnt3(0, 0, 40000));  // in front of the near plane
    view_->ConvertVecToPoint(points, pixels);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0], CPoint(0, 0)) << "a first point out of depth gives (0, 0)";
}

TEST(ViewOverlaySnapping, HorizontalOrVerticalWithinTolerance)
{
    struct Case {
        CPoint start, current;
        double tolerance;
        bool result;
        CPoint snapped;  // (-1, -1): left as it was
    };
    Case const cases[] = {
        {{0, 0}, {0, 0}, 100, false, {-1, -1}},
        {{0, 0}, {14, 0}, 4, false, {-1, -1}},       // closer than 15 pixels
        {{0, 0}, {15, 0}, 4, true, {15, 0}},
        {{0, 0}, {20, 3}, 4, false, {-1, -1}},       // |dy| 3 is not below 2
        {{0, 0}, {20, 3}, 8, true, {20, 0}},
        {{0, 0}, {20, 20}, 100, false, {20, 0}},     // tie goes horizontal; 45 degrees is too far
        {{10, 10}, {7, -30}, 8, true, {10, -30}},    // vertical, upwards
        {{10, 10}, {-20, 12}, 5, true, {-20, 10}},   // horizontal, leftwards
        {{0, 0}, {6, 20}, 12, false, {-1, -1}},      // |dx| 6 is not below 6
        {{0, 0}, {6, 20}, 40, true, {0, 20}},        // about 16.7 degrees
        {{0, 0}, {8, 20}, 40, false, {0, 20}},       // about 21.8 degrees
        {{0, 0}, {2000000000, -2000000000}, 1e10, false, {2000000000, 0}},
    };
    OverlayView view;
    for (Case const &c : cases) {
        CPoint snapped(-1, -1);
        EXPECT_EQ(view.GetHoriPointOrVertPoint(c.start, c.current, c.tolerance, snapped), c.result)
            << "(" << c.current.x << ", " << c.current.y << ") tolerance " << c.tolerance;
        EXPECT_EQ(snapped, c.snapped) << "(" << c.current.x << ", " << c.current.y << ")";
    }
}

// Status bar with the panes 0 to 3 and an operation object in thousands.
class ViewStatusTest : public ViewOverlayTest {
protected:
    void SetUp() override
    {
        ViewOverlayTest::SetUp();
        UINT const ids[] = {ID_SEPARATOR, 1, 2, 3};
        ASSERT_TRUE(bar_.SetIndicators(ids, 4));
        bar_.SetPaneText(0, "ready");
        operation_.SetUnitScale(1000);
        ASSERT_TRUE(operation_.SetPrecision("%.2f"));
    }
    static double Number(CString const &text, char const *prefix)
    {
        std::string const s(text);
        EXPECT_EQ(s.substr(0, 2), prefix) << s;
        return std::strtod(s.c_str() + 2, nullptr);
    }
    CStatusBar bar_;
    CBaseOperation operation_;
};

TEST_F(ViewStatusTest, PointReadOutIsScaledAndFormatted)
{
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(1500, 0, -250));
    EXPECT_EQ(bar_.GetPaneText(1), CString()) << "nothing written while no bar is connected";

    view_->connect(&bar_, &operation_);
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(1500, 0, -250));
    EXPECT_EQ(bar_.GetPaneText(0), CString("ready")) << "pane 0 is never written";
    EXPECT_EQ(bar_.GetPaneText(1), CString("x:1.50"));
    EXPECT_EQ(bar_.GetPaneText(2), CString("y:0.00"));
    EXPECT_EQ(bar_.GetPaneText(3), CString("z:-0.25"));

    ASSERT_TRUE(operation_.SetPrecision("%.4e"));
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(-12345, 1, 2e6));
    EXPECT_EQ(bar_.GetPaneText(1), CString("x:-1.2345e+01"));
    EXPECT_EQ(bar_.GetPaneText(2), CString("y:1.0000e-03"));
    EXPECT_EQ(bar_.GetPaneText(3), CString("z:2.0000e+03"));

    // The bar without an operation object has nothing to scale by: nothing is written.
    view_->connect(&bar_, nullptr);
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(0, 0, 0));
    EXPECT_EQ(bar_.GetPaneText(1), CString("x:-1.2345e+01"));
}

TEST_F(ViewStatusTest, PixelReadOutConvertsAtTheOriginsDepth)
{
    // Zoom 2000 on 200 pixels: 20 units per pixel, so pixel (150, 50) sees
    // about (1000, 1000) and pixel (25, 190) about (-1500, -1800).
    view_->zoom() = 2000;
    view_->connect(&bar_, &operation_);
    ASSERT_TRUE(operation_.SetPrecision("%.3f"));
    view_->ShowStatusCoordinateInfo(CPoint(150, 50));
    EXPECT_NEAR(Number(bar_.GetPaneText(1), "x:"), 1.0, 0.021);
    EXPECT_NEAR(Number(bar_.GetPaneText(2), "y:"), 1.0, 0.021);
    EXPECT_NEAR(Number(bar_.GetPaneText(3), "z:"), 0.0, 0.001);
    view_->ShowStatusCoordinateInfo(CPoint(25, 190));
    EXPECT_NEAR(Number(bar_.GetPaneText(1), "x:"), -1.5, 0.021);
    EXPECT_NEAR(Number(bar_.GetPaneText(2), "y:"), -1.8, 0.021);
    EXPECT_FALSE(view_->gl().IsInScene());
}

}  // namespace
