#include <tessiv/tests/view/view_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

// Mesa's software rasteriser keeps storage of its selection-mode stage that
// it does not give back when the context is destroyed (every frame of the
// report lies inside the driver); the sanitizer build would otherwise fail
// this suite on the driver's leak.
extern "C" char const *__lsan_default_suppressions() { return "leak:swrast_dri.so\n"; }

namespace {

class PickView : public CBaseView {
public:
    Cgl &gl() { return m_gl; }
    double &zoom() { return m_zoom; }
};

class ViewPickTest : public ViewFixture<PickView> {
protected:
    // A 20 x 20 square around the scene origin at depth z.
    static void Square(double z)
    {
        glBegin(GL_QUADS);
        glVertex3d(-10, -10, z);
        glVertex3d(10, -10, z);
        glVertex3d(10, 10, z);
        glVertex3d(-10, 10, z);
        glEnd();
    }
    struct Named {
        GLuint name;
        double z;
    };
    // Begins a pass at the centre pixel over squares named by glLoadName.
    void Begin(std::initializer_list<Named> squares)
    {
        view_->BeginPicking(CPoint(100, 100), 4);
        for (Named const &square : squares) {
            glLoadName(square.name);
            Square(square.z);
        }
    }
    std::vector<int> List(bool sorted)
    {
        kolt::cvector<int> names;
        names.push_back(-99);
        bool const found = sorted ? view_->EndPickingOnView(names) : view_->EndPicking(names);
        EXPECT_EQ(found, names.size() != 0);
        return std::vector<int>(names.begin(), names.end());
    }
};

TEST_F(ViewPickTest, NearestFarthestAndTies)
{
    Begin({});
    EXPECT_EQ(view_->EndPicking(), -1);
    Begin({{7, 0}});
    EXPECT_EQ(view_->EndPicking(), 7);
    Begin({{3, 100}, {4, 100}});
    EXPECT_EQ(view_->EndPicking(), -2) << "records at one depth cannot be told apart";
    Begin({{3, 100}, {4, 100}});
    EXPECT_EQ(view_->EndPicking_Plane(), 3);
    Begin({{1, -100}, {2, 50}, {3, 50}});
    EXPECT_EQ(view_->EndPicking(), 2) << "the first of the nearest ties";

    int nearest = 0, farthest = 0;
    Begin({{1, -100}, {2, 50}, {3, 50}});
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(nearest, 2);
    EXPECT_EQ(farthest, 1);
    Begin({{8, 10}, {9, -10}, {10, -10}});
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(farthest, 9) << "the first of the farthest ties";
    Begin({});
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(nearest, -1);
    EXPECT_EQ(farthest, -1);
}

TEST_F(ViewPickTest, NestedUnnamedAndSortedNames)
{
    // Under the base name alone an object is reported as 30000; nested names
    // keep every level.
    view_->BeginPicking(CPoint(100, 100), 4);
    glPushName(9);
    Square(10);
    EXPECT_EQ(view_->EndPicking(), 30000);
    view_->BeginPicking(CPoint(100, 100), 4);
    glPushName(9);
    Square(10);
    glPopName();
    glLoadName(11);
    Square(20);
    EXPECT_EQ(List(false), (std::vector<int>{30000, 9, 11}));

    // A record without names never wins, yet its depth counts for the tie.
    for (int end = 0; end < 3; ++end) {
        view_->BeginPicking(CPoint(100, 100), 4);
        glPopName();
        Square(10);
        glPushName(4);
        Square(10);
        if (end == 0)
            EXPECT_EQ(view_->EndPicking(), -2);
        else if (end == 1)
            EXPECT_EQ(view_->EndPicking_Plane(), 4);
        else
            EXPECT_EQ(List(true), std::vector<int>{4});
    }

    // 5 and 6 tie behind 7: the exchange sort gives 7, 6, 5, not 7, 5, 6.
    Begin({{5, -100}, {6, -100}, {7, 100}});
    EXPECT_EQ(List(true), (std::vector<int>{7, 6, 5}));
    Begin({{1, -300}, {2, 200}, {3, 0}, {4, 300}});
    EXPECT_EQ(List(true), (std::vector<int>{4, 2, 3, 1}));
}

TEST_F(ViewPickTest, OverflowAndMissingContextReportNoHit)
{
    // 6000 one-name records need 24,000 values; 4000 (16,000) still fit.
    auto pass = [this](GLuint records) {
        view_->BeginPicking(CPoint(100, 100), 4);
        for (GLuint name = 1; name <= records; ++name) {
            glLoadName(name);
            Square(0);
        }
    };
    pass(6000);
    EXPECT_EQ(view_->EndPicking(), -1);
    pass(6000);
    EXPECT_EQ(view_->EndPicking_Plane(), -1);
    int nearest = 0, farthest = 0;
    pass(6000);
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(farthest, -1);
    pass(6000);
    EXPECT_TRUE(List(false).empty());
    pass(6000);
    EXPECT_TRUE(List(true).empty());
    pass(4000);
    EXPECT_EQ(view_->EndPicking(), -2);

    PickView windowless;
    windowless.BeginPicking(CPoint(1, 1), 5);
    EXPECT_EQ(windowless.EndPicking(), -1);
}

TEST_F(ViewPickTest, PassRestoresProjectionAndMatrixMode)
{
    view_->MoveWindow(0, 0, 200, 100);
    ASSERT_EQ(view_->gl().Height(), 100);
    view_->BeginPicking(CPoint(100, 50), 4);
    glLoadName(1);
    Square(0);
    glMatrixMode(GL_TEXTURE);
    EXPECT_EQ(view_->EndPicking(), 1);
    EXPECT_FALSE(view_->gl().IsInScene());

    view_->gl().SceneBegin();
    GLint render_mode = 0, matrix_mode = 0, depth = 0;
    glGetIntegerv(GL_RENDER_MODE, &render_mode);
    glGetIntegerv(GL_MATRIX_MODE, &matrix_mode);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    double projection[16], expected[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -50, 50, -20000, 20000);
    glGetDoublev(GL_PROJECTION_MATRIX, expected);
    glMatrixMode(GL_MODELVIEW);
    view_->gl().SceneEnd();
    EXPECT_EQ(render_mode, GL_RENDER);
    EXPECT_EQ(matrix_mode, GL_TEXTURE) << "the matrix mode of the call is kept";
    EXPECT_EQ(depth, 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_DOUBLE_EQ(projection[i], expected[i]) << "element " << i;
}

}  // namespace
