#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/tests/gl_window.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// A current context on a window of the given client size, with the
// viewport covering it.
class CglConvertTest : public ::testing::Test {
protected:
    void open(int width, int height)
    {
        ASSERT_TRUE(RegisterGlWindowClass("CglConvertView"));
        window_ = CreateWindowExA(0, "CglConvertView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(gl_.Create(window_, 1), 1);
        gl_.SceneBegin();
        ASSERT_TRUE(gl_.IsInScene());
    }
    void TearDown() override
    {
        gl_.SceneEnd();
        gl_.Release();
        DestroyWindow(window_);
    }
    static void ortho_identity(int width, int height)
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-width / 2.0, width / 2.0, -height / 2.0, height / 2.0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // A perspective camera looking at the origin from a random direction.
    static void random_camera(std::mt19937 &random, double aspect)
    {
        std::uniform_real_distribution<double> unit(-1, 1);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(30 + 40 * (unit(random) + 1) / 2, aspect, 0.5, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(10 * unit(random), 10 * unit(random), 12 + 5 * unit(random), unit(random), unit(random),
                  unit(random), 0, 1, 0);
        glRotated(180 * unit(random), unit(random), unit(random), 1);
    }
    static void project(kolt::Pnt3 const &p, double *x, double *y, double *z)
    {
        double modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        ASSERT_TRUE(gluProject(p.x, p.y, p.z, modelview, projection, viewport, x, y, z));
    }
    HWND window_ = nullptr;
    Cgl gl_;
};

TEST_F(CglConvertTest, OrthographicWorkedCaseAndItsInverse)
{
    open(64, 48);
    ortho_identity(64, 48);
    kolt::Pnt3 origin;
    int x = -1, y = -1;
    double depth = 0;
    ASSERT_EQ(gl_.Cvt3Dto2D(&x, &y, &depth, &origin), 1);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 24);
    EXPECT_DOUBLE_EQ(depth, 0.5);
    kolt::Pnt3 back = gl_.Cvt2Dto3D(32, 24, origin);
    EXPECT_NEAR(back.x, 0, 1e-12);
    EXPECT_NEAR(back.y, 0, 1e-12);
    EXPECT_NEAR(back.z, 0, 1e-12);

    kolt::Pnt3 corner(-32 + 5, 24 - 7, 0);
    ASSERT_EQ(gl_.Cvt3Dto2D(&x, &y, &depth, &corner), 1);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 7) << "window y grows downwards";
    back = gl_.Cvt2Dto3D(5, 7, origin);
    // GL keeps its matrices in single precision, so 1/24 is not exact.
    EXPECT_NEAR(back.x, corner.x, 1e-5);
    EXPECT_NEAR(back.y, corner.y, 1e-5);

    kolt::Pnt3 win(10, 20, 99);
    kolt::Pnt3 a = gl_.Cvt2Dto3D(win), b = gl_.Cvt2Dto3D(10, 20, origin);
    EXPECT_EQ(a.x, b.x) << "the window form is the reference form at the origin";
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

TEST_F(CglConvertTest, PointsOutsideTheDepthRangeReturnZeroWithTheirDepth)
{
    open(64, 48);
    ortho_identity(64, 48);
    kolt::Pnt3 behind(0, 0, -5);
    int x = 12345, y = 12345;
    double depth = 0;
    EXPECT_EQ(gl_.Cvt3Dto2D(&x, &y, &depth, &behind), 0);
    EXPECT_GT(depth, 1);
    EXPECT_EQ(x, 12345) << "x and y are left unwritten";
    kolt::Pnt3 out(7, 8, 0);
    EXPECT_EQ(gl_.Cvt3Dto2D(&out, &behind), 0);
    EXPECT_DOUBLE_EQ(out.z, depth) << "the depth is written in any case";
    EXPECT_EQ(out.x, 7);

    kolt::Pnt3 far_aside(1e12, 0, 0);
    ASSERT_EQ(gl_.Cvt3Dto2D(&x, &y, &depth, &far_aside), 1);
    EXPECT_EQ(x, INT_MIN) << "an x that no int holds truncates as the original did";
}

TEST_F(CglConvertTest, OddViewportWidthLosesItsHalfPixelOnlyInTheIntegerForm)
{
    open(11, 10);
    ortho_identity(11, 10);
    kolt::Pnt3 right_edge(5.5, 0, 0);
    int x = 0, y = 0;
    double depth = 0;
    ASSERT_EQ(gl_.Cvt3Dto2D(&x, &y, &depth, &right_edge), 1);
    EXPECT_EQ(x, 10) << "(1 + 1) * (11 / 2) with integer halving";
    kolt::Pnt3 out;
    ASSERT_EQ(gl_.Cvt3Dto2D(&out, &right_edge), 1);
    EXPECT_NEAR(out.x, 11.0, 1e-5) << "(1 + 1) * 11 * 0.5";
}

TEST_F(CglConvertTest, ProjectionsAgreeWithGluProjectOnRandomCameras)
{
    open(80, 60);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-2, 2);
    for (int camera = 0; camera < 20; ++camera) {
        random_camera(random, 80.0 / 60.0);
        for (int point = 0; point < 10; ++point) {
            kolt::Pnt3 p(coordinate(random), coordinate(random), coordinate(random));
            double wx, wy, wz;
            project(p, &wx, &wy, &wz);
            kolt::Pnt3 out;
            ASSERT_EQ(gl_.Cvt3Dto2D(&out, &p), 1);
            EXPECT_NEAR(out.x, wx, 1e-9);
            EXPECT_NEAR(out.y, 60 - wy, 1e-9);
            EXPECT_NEAR(out.z, wz, 1e-9);
            int x, y;
            double depth;
            ASSERT_EQ(gl_.Cvt3Dto2D(&x, &y, &depth, &p), 1);
            EXPECT_EQ(x, static_cast<int>(wx)) << "even sizes halve exactly";
            EXPECT_EQ(y, 60 - static_cast<int>(wy));

            // Back at the depth of p, the pixel's scene point projects onto the pixel.
            kolt::Pnt3 under = gl_.Cvt2Dto3D(x, y, p);
            double ux, uy, uz;
            project(under, &ux, &uy, &uz);
            EXPECT_NEAR(ux, x, 1e-6);
            EXPECT_NEAR(60 - uy, y, 1e-6);
            EXPECT_NEAR(uz, wz, 1e-6) << "same depth as the reference point";
        }
    }
}

TEST_F(CglConvertTest, MirrorPairRecoversThePointOnRandomCameras)
{
    open(64, 48);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-2, 2);
    int checked = 0;
    for (int camera = 0; camera < 30; ++camera) {
        random_camera(random, 64.0 / 48.0);
        kolt::Pnt3 p(0.5 + std::abs(coordinate(random)), coordinate(random), coordinate(random));
        kolt::Pnt3 mirror(-p.x, p.y, p.z);
        kolt::Pnt3 a, b;
        if (!gl_.Cvt3Dto2D(&a, &p) || !gl_.Cvt3Dto2D(&b, &mirror))
            continue;
        if (std::hypot(a.x - b.x, a.y - b.y) < 1)
            continue;  // the two views coincide: degenerate
        kolt::Pnt3 found = gl_.Cvt2Dto3D(a, b);
        EXPECT_NEAR(found.x, p.x, 1e-6);
        EXPECT_NEAR(found.y, p.y, 1e-6);
        EXPECT_NEAR(found.z, p.z, 1e-6);
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

TEST_F(CglConvertTest, PixelFormReadsTheDepthBufferAndUnprojects)
{
    open(64, 48);
    ortho_identity(64, 48);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-32, 32, -24, 24, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glVertex3d(-32, -24, 2.5);
    glVertex3d(32, -24, 2.5);
    glVertex3d(32, 24, 2.5);
    glVertex3d(-32, 24, 2.5);
    glEnd();
    kolt::Pnt3 hit = gl_.Cvt2Dto3D(CPoint(10, 30));
    EXPECT_NEAR(hit.x, 10 - 32, 1e-3);
    EXPECT_NEAR(hit.y, 48 - 30 - 24, 1e-3) << "window y is flipped against the viewport height";
    EXPECT_NEAR(hit.z, 2.5, 1e-4) << "the depth buffer gives the plane's depth";

    // Two presented frames at different depths: after each Flip the pixel
    // form still reads the frame just drawn, not the one before it.
    for (double depth : {-4.0, 6.0}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        glVertex3d(-32, -24, depth);
        glVertex3d(32, -24, depth);
        glVertex3d(32, 24, depth);
        glVertex3d(-32, 24, depth);
        glEnd();
        ASSERT_EQ(gl_.Flip(), 1);
        EXPECT_NEAR(gl_.Cvt2Dto3D(10, 30).z, depth, 1e-4) << "the depth buffer survives the swap";
    }
}

}  // namespace
