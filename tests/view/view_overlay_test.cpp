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

// Draws what the test hands it, unlit, inside Render's bracket.
class OverlayView : public CBaseView {
public:
    std::function<void(OverlayView &)> draw;
    Cgl &gl() { return m_gl; }
    double &zoom() { return m_zoom; }
    void Connect(CStatusBar *bar, CBaseOperation *operation)
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
        glColor3f(1, 1, 1);
        if (draw)
            draw(*this);
        glEnable(GL_LIGHTING);
        m_gl.Flip();
        m_gl.SceneEnd();
    }
};

// Scene (x, y) is pixel (100 + x, 100 - y).
class ViewOverlayTest : public ViewFixture<OverlayView> {
protected:
    TessivFrontBuffer Snapshot(std::function<void(OverlayView &)> draw)
    {
        view_->draw = std::move(draw);
        view_->Render();
        TessivFrontBuffer front;
        EXPECT_TRUE(TessivReadFrontBuffer(view_->m_hWnd, &front));
        return front;
    }
    // Any pixel within one of (x, y) lit: a line may land on either side.
    static bool Lit(TessivFrontBuffer const &frame, int x, int y)
    {
        for (int py = y - 1; py <= y + 1; ++py)
            for (int px = x - 1; px <= x + 1; ++px)
                if (px >= 0 && py >= 0 && px < frame.width && py < frame.height &&
                    (frame.pixels[static_cast<std::size_t>(py * frame.width + px)] & 0xFFFFFF) != 0)
                    return true;
        return false;
    }
    static int LitCount(TessivFrontBuffer const &frame)
    {
        int count = 0;
        for (std::uint32_t pixel : frame.pixels)
            count += (pixel & 0xFFFFFF) != 0;
        return count;
    }
};

TEST_F(ViewOverlayTest, ArrowsArcsAndRectangleAtTheirPixels)
{
    // Direction 0 opens towards +x (wing midpoints near (117, 90) and (117, 110)).
    TessivFrontBuffer const left = Snapshot([](OverlayView &v) { v.DrawArrow(0, 0, 0, 0, 20); });
    EXPECT_TRUE(Lit(left, 117, 90) && Lit(left, 117, 110) && Lit(left, 134, 80));
    EXPECT_FALSE(Lit(left, 83, 90) || Lit(left, 117, 100)) << "open head pointing to -x";
    EXPECT_EQ(Snapshot([](OverlayView &v) { v.DrawArrow(0, 0, 0, 7, 20); }).pixels, left.pixels)
        << "an unknown direction draws like 0";
    TessivFrontBuffer const up = Snapshot([](OverlayView &v) { v.DrawArrow(20, 0, 0, 2, 20); });
    EXPECT_TRUE(Lit(up, 110, 117) && Lit(up, 130, 117));
    EXPECT_FALSE(Lit(up, 110, 83)) << "direction 2 points up, its wings below";

    // Radius 50, sweep 90: -45 to +45 degrees about +x.
    TessivFrontBuffer const arc = Snapshot([](OverlayView &v) { v.DrawArc(50, 90); });
    for (double degrees : {0.0, 30.0, -44.0, 55.0, -55.0, 180.0}) {
        double const radians = degrees / 180 * 3.141592653589793;
        int const x = static_cast<int>(std::lround(100 + 50 * std::cos(radians)));
        int const y = static_cast<int>(std::lround(100 - 50 * std::sin(radians)));
        EXPECT_EQ(Lit(arc, x, y), std::fabs(degrees) < 45) << degrees << " degrees";
    }
    EXPECT_EQ(LitCount(Snapshot([](OverlayView &v) { v.DrawArc(50, 1.9); })), 0) << "below 2 degrees";

    // With the identity view the side is -x: the square stands edge-on 2000
    // units left of the point (pixel column 20 at zoom 2500), its corners
    // 1.3 x 10 pixels out along the diagonals, about 9.2 above and below.
    view_->zoom() = 2500;
    TessivFrontBuffer const rect = Snapshot([](OverlayView &v) {
        v.DrawRectAroundPoint(CPoint(100, 100), kolt::Pnt3(12.5, 0, 0), 21, RGB(255, 0, 0));
    });
    EXPECT_EQ(rect.pixels[100 * 200 + 20] & 0xFFFFFF, 0xFF0000u) << "red from the COLORREF's low byte";
    EXPECT_TRUE(Lit(rect, 20, 93) && Lit(rect, 20, 107));
    EXPECT_FALSE(Lit(rect, 20, 113) || Lit(rect, 20, 87) || Lit(rect, 100, 100));
}

TEST_F(ViewOverlayTest, BillboardFacesTheViewerKeepingItsPosition)
{
    double inside[16] = {}, after[16] = {};
    TessivFrontBuffer const frame = Snapshot([&](OverlayView &v) {
        glTranslated(50, 0, 0);
        glRotated(90, 0, 1, 0);  // edge-on without the bracket
        v.billboardCheatSphericalBegin();
        glGetDoublev(GL_MODELVIEW_MATRIX, inside);
        glRectd(-10, -10, 10, 10);
        v.billboardEnd();
        glGetDoublev(GL_MODELVIEW_MATRIX, after);
    });
    EXPECT_GE(LitCount(frame), 18 * 18);
    EXPECT_TRUE(Lit(frame, 150, 100) && Lit(frame, 142, 92));
    EXPECT_FALSE(Lit(frame, 100, 100));
    for (int element : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_DOUBLE_EQ(inside[element], element % 5 == 0 ? 1 : 0) << "element " << element;
    EXPECT_NEAR(inside[12], 50, 1e-4);
    EXPECT_NEAR(after[0], 0, 1e-6) << "the rotation is back after the bracket";
}

TEST_F(ViewOverlayTest, ConvertVecToPointRepeatsThePixelOfPointsOutOfDepth)
{
    view_->Render();
    kolt::cvector<kolt::Pnt3> points;
    kolt::cvector<CPoint> pixels;
    pixels.push_back(CPoint(7, 7));
    view_->ConvertVecToPoint(points, pixels);
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
    points.clear();
    points.push_back(kolt::Pnt3(0, 0, 40000));
    view_->ConvertVecToPoint(points, pixels);
    EXPECT_EQ(pixels[0], CPoint(0, 0)) << "a first point out of depth gives (0, 0)";
}

TEST(ViewOverlaySnapping, HorizontalOrVerticalWithinTolerance)
{
    struct Case {
        CPoint current;
        double tolerance;
        bool result;
        CPoint snapped;  // (-1, -1): not written
    } const cases[] = {
        {{0, 0}, 100, false, {-1, -1}},
        {{14, 0}, 4, false, {-1, -1}},   // closer than 15 pixels
        {{15, 0}, 4, true, {15, 0}},
        {{20, 3}, 4, false, {-1, -1}},   // |dy| 3 is not below 2
        {{20, 3}, 8, true, {20, 0}},
        {{20, 20}, 100, false, {20, 0}},  // a tie goes horizontal; 45 degrees is too far
        {{-3, -40}, 8, true, {0, -40}},   // vertical
        {{6, 20}, 12, false, {-1, -1}},  // |dx| 6 is not below 6
        {{6, 20}, 40, true, {0, 20}},     // 16.7 degrees
        {{8, 20}, 40, false, {0, 20}},    // 21.8 degrees
        {{2000000000, -2000000000}, 1e10, false, {2000000000, 0}},
    };
    OverlayView view;
    for (Case const &c : cases) {
        CPoint snapped(-1, -1);
        EXPECT_EQ(view.GetHoriPointOrVertPoint(CPoint(0, 0), c.current, c.tolerance, snapped), c.result)
            << c.current.x << ", " << c.current.y;
        EXPECT_EQ(snapped, c.snapped) << c.current.x << ", " << c.current.y;
    }
}

TEST_F(ViewOverlayTest, StatusReadOutInDocumentUnits)
{
    CStatusBar bar;
    UINT const ids[] = {ID_SEPARATOR, 1, 2, 3};
    ASSERT_TRUE(bar.SetIndicators(ids, 4));
    bar.SetPaneText(0, "ready");
    CBaseOperation operation;
    operation.SetUnitScale(1000);
    ASSERT_TRUE(operation.SetPrecision("%.2f"));
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(1500, 0, -250));
    EXPECT_EQ(bar.GetPaneText(1), CString()) << "no bar connected";

    view_->Connect(&bar, &operation);
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(1500, 0, -250));
    EXPECT_EQ(bar.GetPaneText(0), CString("ready"));
    EXPECT_EQ(bar.GetPaneText(1), CString("x:1.50"));
    EXPECT_EQ(bar.GetPaneText(2), CString("y:0.00"));
    EXPECT_EQ(bar.GetPaneText(3), CString("z:-0.25"));

    // Zoom 2000 on 200 pixels: 20 units a pixel, so (150, 50) sees about
    // (1000, 1000) at the origin's depth.
    view_->zoom() = 2000;
    ASSERT_TRUE(operation.SetPrecision("%.4e"));
    view_->ShowStatusCoordinateInfo(CPoint(150, 50));
    EXPECT_FALSE(view_->gl().IsInScene());
    char const *prefixes[] = {"x:", "y:", "z:"};
    double const expected[] = {1, 1, 0};
    for (int pane = 1; pane <= 3; ++pane) {
        std::string const text(bar.GetPaneText(pane));
        EXPECT_EQ(text.substr(0, 2), prefixes[pane - 1]);
        EXPECT_NE(text.find('e'), std::string::npos) << text << " in the operation's format";
        EXPECT_NEAR(std::strtod(text.c_str() + 2, nullptr), expected[pane - 1], 0.021) << text;
    }

    CString const before = bar.GetPaneText(3);
    view_->Connect(&bar, nullptr);  // no unit scale to use: nothing written
    view_->ShowStatusCoordinateInfo(kolt::Pnt3(5, 5, 5));
    EXPECT_EQ(bar.GetPaneText(3), before);
}

}  // namespace
