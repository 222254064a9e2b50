#include <tessiv/tests/view/view_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Exposes what the tests set and read; draws nothing of its own.
class PickView : public CBaseView {
public:
    Cgl &gl() { return m_gl; }
    double &zoom() { return m_zoom; }
    bool &fixed_pick_size() { return m_fixedPickSize; }
};

// A 200 x 200 view at zoom 100, so one scene unit is one pixel and the
// centre pixel (100, 100) looks at the scene origin.
class ViewPickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view_ = OpenTestView<PickView>(200, 200);
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
    // A 20 x 20 square centred on scene (x, y) at depth z.
    static void Square(double x, double y, double z)
    {
        glBegin(GL_QUADS);
        glVertex3d(x - 10, y - 10, z);
        glVertex3d(x + 10, y - 10, z);
        glVertex3d(x + 10, y + 10, z);
        glVertex3d(x - 10, y + 10, z);
        glEnd();
    }
    struct Named {
        GLuint name;
        double z;
    };
    // Picks at the centre pixel over named squares at the origin.
    void Begin(std::vector<Named> const &squares)
    {
        view_->BeginPicking(CPoint(100, 100), 4);
        for (Named const &square : squares) {
            glLoadName(square.name);
            Square(0, 0, square.z);
        }
    }
    PickView *view_ = nullptr;
};

TEST_F(ViewPickTest, NearestHitAndTiesByDepth)
{
    Begin({});
    EXPECT_EQ(view_->EndPicking(), -1) << "nothing drawn";

    Begin({{7, 0}});
    EXPECT_EQ(view_->EndPicking(), 7);

    // Two records at one depth cannot be told apart; the plane form takes the first.
    Begin({{3, 100}, {4, 100}});
    EXPECT_EQ(view_->EndPicking(), -2);
    Begin({{3, 100}, {4, 100}});
    EXPECT_EQ(view_->EndPicking_Plane(), 3);

    // Larger scene z is nearer: names 2 and 3 tie nearest, 1 is farthest.
    Begin({{1, -100}, {2, 50}, {3, 50}});
    EXPECT_EQ(view_->EndPicking(), 2) << "the first of the nearest ties";
    Begin({{1, -100}, {2, 50}, {3, 50}});
    EXPECT_EQ(view_->EndPicking_Plane(), 2);
    int nearest = 0, farthest = 0;
    Begin({{1, -100}, {2, 50}, {3, 50}});
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(nearest, 2);
    EXPECT_EQ(farthest, 1);
    Begin({{8, 10}, {9, -10}, {10, -10}});
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(nearest, 8);
    EXPECT_EQ(farthest, 9) << "the first of the farthest ties";

    // A square away from the pick point is not hit.
    view_->BeginPicking(CPoint(100, 100), 4);
    glLoadName(5);
    Square(50, 50, 0);
    glLoadName(6);
    Square(0, 0, -300);
    EXPECT_EQ(view_->EndPicking(), 6);
}

TEST_F(ViewPickTest, NamesOfNestedAndUnnamedRecords)
{
    // Drawn under the base name alone, the object is reported as 30000;
    // nested names keep every level, the base name included.
    view_->BeginPicking(CPoint(100, 100), 4);
    glPushName(9);
    Square(0, 0, 10);
    EXPECT_EQ(view_->EndPicking(), 30000);

    view_->BeginPicking(CPoint(100, 100), 4);
    glPushName(9);
    Square(0, 0, 10);
    glPopName();
    glLoadName(11);
    Square(0, 0, 20);
    kolt::cvector<int> names;
    names.push_back(99);
    ASSERT_TRUE(view_->EndPicking(names));
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], 30000);
    EXPECT_EQ(names[1], 9);
    EXPECT_EQ(names[2], 11);

    // A record without names never wins, but its depth still counts for the tie.
    auto unnamed_beside_named = [this] {
        view_->BeginPicking(CPoint(100, 100), 4);
        glPopName();
        Square(0, 0, 10);
        glPushName(4);
        Square(0, 0, 10);
    };
    unnamed_beside_named();
    EXPECT_EQ(view_->EndPicking(), -2);
    unnamed_beside_named();
    EXPECT_EQ(view_->EndPicking_Plane(), 4);
    unnamed_beside_named();
    ASSERT_TRUE(view_->EndPicking(names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], 4);

    // Nothing named at all: the list forms say false and leave the list empty.
    view_->BeginPicking(CPoint(100, 100), 4);
    glPopName();
    Square(0, 0, 10);
    EXPECT_FALSE(view_->EndPickingOnView(names));
    EXPECT_EQ(names.size(), 0u);
    EXPECT_EQ(names.capacity(), 0u) << "emptied by releasing its storage";
}

TEST_F(ViewPickTest, EndPickingOnViewSortsNearestFirstByExchange)
{
    // Buffer order 5, 6 at one depth behind 7: the exchange sort gives 7, 6, 5.
    Begin({{5, -100}, {6, -100}, {7, 100}});
    kolt::cvector<int> names;
    ASSERT_TRUE(view_->EndPickingOnView(names));
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], 7);
    EXPECT_EQ(names[1], 6);
    EXPECT_EQ(names[2], 5);

    Begin({{1, -300}, {2, 200}, {3, 0}, {4, 300}});
    ASSERT_TRUE(view_->EndPickingOnView(names));
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], 4);
    EXPECT_EQ(names[1], 2);
    EXPECT_EQ(names[2], 3);
    EXPECT_EQ(names[3], 1);

    // Both names of a nested record share its depth.
    view_->BeginPicking(CPoint(100, 100), 4);
    glLoadName(1);
    Square(0, 0, -50);
    glLoadName(2);
    glPushName(3);
    Square(0, 0, 50);
    ASSERT_TRUE(view_->EndPickingOnView(names));
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], 2);
    EXPECT_EQ(names[1], 3);
    EXPECT_EQ(names[2], 1);
}

TEST_F(ViewPickTest, SelectionBufferOverflowReportsNoHit)
{
    // 6000 one-name records need 24,000 values, more than the buffer holds.
    auto overflow = [this] {
        view_->BeginPicking(CPoint(100, 100), 4);
        for (GLuint name = 1; name <= 6000; ++name) {
            glLoadName(name);
            Square(0, 0, 0);
        }
    };
    overflow();
    EXPECT_EQ(view_->EndPicking(), -1);
    overflow();
    EXPECT_EQ(view_->EndPicking_Plane(), -1);
    int nearest = 0, farthest = 0;
    overflow();
    view_->EndPicking(nearest, farthest);
    EXPECT_EQ(nearest, -1);
    EXPECT_EQ(farthest, -1);
    kolt::cvector<int> names;
    overflow();
    EXPECT_FALSE(view_->EndPicking(names));
    EXPECT_EQ(names.size(), 0u);
    overflow();
    EXPECT_FALSE(view_->EndPickingOnView(names));
    EXPECT_EQ(names.size(), 0u);

    // 4,000 records (16,000 values) still fit.
    view_->BeginPicking(CPoint(100, 100), 4);
    for (GLuint name = 1; name <= 4000; ++name) {
        glLoadName(name);
        Square(0, 0, 0);
    }
    EXPECT_EQ(view_->EndPicking(), -2);
}

TEST_F(ViewPickTest, PassRestoresProjectionModeAndEndsTheScene)
{
    // 200 x 100 client area: the normal projection is glOrtho(-100, 100, -50, 50, ...).
    view_->MoveWindow(0, 0, 200, 100);
    ASSERT_EQ(view_->gl().Height(), 100);

    view_->BeginPicking(CPoint(100, 50), 4);
    EXPECT_TRUE(view_->gl().IsInScene());
    glLoadName(1);
    Square(0, 0, 0);
    glMatrixMode(GL_TEXTURE);
    EXPECT_EQ(view_->EndPicking(), 1);
    EXPECT_FALSE(view_->gl().IsInScene());

    view_->gl().SceneBegin();
    ASSERT_TRUE(view_->gl().IsInScene());
    GLint render_mode = 0, matrix_mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &render_mode);
    glGetIntegerv(GL_MATRIX_MODE, &matrix_mode);
    EXPECT_EQ(render_mode, GL_RENDER);
    EXPECT_EQ(matrix_mode, GL_TEXTURE) << "the matrix mode of the call is kept";
    double projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -50, 50, -20000, 20000);
    double expected[16];
    glGetDoublev(GL_PROJECTION_MATRIX, expected);
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    glMatrixMode(GL_MODELVIEW);
    view_->gl().SceneEnd();
    for (int i = 0; i < 16; ++i)
        EXPECT_DOUBLE_EQ(projection[i], expected[i]) << "element " << i;
    EXPECT_EQ(depth, 1) << "the pushed projection was popped";
}

TEST_F(ViewPickTest, PickRegionSizeAndFixedSize)
{
    // A square 30 pixels right of the pick point is inside a 70-pixel region only.
    auto pick_beside = [this](double size) {
        view_->BeginPicking(CPoint(100, 100), size);
        glLoadName(3);
        Square(40, 0, 0);
        return view_->EndPicking();
    };
    EXPECT_EQ(pick_beside(4), -1);
    EXPECT_EQ(pick_beside(70), 3);
    view_->fixed_pick_size() = true;
    EXPECT_EQ(pick_beside(70), -1) << "a fixed pick size is 5 pixels whatever is asked";
}

TEST(ViewPickWithoutContext, EndOperationsFindNoHits)
{
    PickView view;  // never given a window
    view.BeginPicking(CPoint(1, 1), 5);
    EXPECT_EQ(view.EndPicking(), -1);
    kolt::cvector<int> names;
    view.BeginPicking(CPoint(1, 1), 5);
    EXPECT_FALSE(view.EndPickingOnView(names));
    int nearest = 0, farthest = 0;
    view.BeginPicking(CPoint(1, 1), 5);
    view.EndPicking(nearest, farthest);
    EXPECT_EQ(nearest, -1);
    EXPECT_EQ(farthest, -1);
}

}  // namespace
