// CBaseView driven through real messages on the headless display with a real
// GL context: lifecycle and fixed state, the base frame, activation, the
// camera and projections, mouse navigation with its capture and cursors, and
// what happens without a context or after OnDestroy.
#include <tessiv/view/base_view.h>

#include <tessiv/platform/headless.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/shell/resource.h>
#include <tessiv/view/module_resource.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

// A host view as a deriving application writes one: detects the navigation
// operation on every move and counts what the base calls.
class TestView : public CBaseView {
public:
    using CBaseView::BeginScene;
    using CBaseView::m_fixedPickSize;
    using CBaseView::m_gl;
    using CBaseView::m_lastPoint;
    using CBaseView::m_lastPoint3D;
    using CBaseView::m_lButtonDown;
    using CBaseView::m_mButtonDown;
    using CBaseView::m_mouseMode;
    using CBaseView::m_viewNode;
    using CBaseView::m_viewNormal;
    using CBaseView::m_viewSide;
    using CBaseView::m_zoom;

    int builds = 0;
    bool context_current_in_build = true;
    int renders = 0;
    int zoom_alls = 0;
    std::function<void()> on_render;

    void BuildScene() override
    {
        ++builds;
        context_current_in_build = wglGetCurrentContext() != nullptr;
    }
    void Render() override
    {
        ++renders;
        if (on_render)
            on_render();
        CBaseView::Render();
    }
    void ZoomAll() override { ++zoom_alls; }
    afx_msg void OnMouseMove(UINT flags, CPoint point)
    {
        DetectMouseOp(flags);
        CBaseView::OnMouseMove(flags, point);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestView, CBaseView)
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

LPARAM At(int x, int y) { return static_cast<LPARAM>((y << 16) | (x & 0xffff)); }

HCURSOR ModuleCursor(int id)
{
    return LoadCursorA(AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_CURSOR), MAKEINTRESOURCE(id));
}

// The initial pose the view takes, as a node to compare with.
kolt::TNode InitialPose()
{
    kolt::TNode node;
    node.SetIdentity();
    node.Rotate(&node, kolt::Pnt3(0, 1, 0), -0.8726646259971648);
    node.Rotate(nullptr, kolt::Pnt3(1, 0, 0), -0.17453292519943295);
    return node;
}

bool Same(kolt::Pnt3 const &a, kolt::Pnt3 const &b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

void ExpectSameMatrix(kolt::MatX4 const &actual, kolt::MatX4 const &expected, char const *what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << what << ", element " << i;
}

class BaseViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TessivResetInput();
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0, 800, 400,
                                    nullptr, nullptr));
        view = new TestView;  // deletes itself with its window
        ASSERT_TRUE(view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 400), &parent,
                                 AFX_IDW_PANE_FIRST));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        TessivResetInput();
    }
    void InitialUpdate() { view->SendMessage(WM_INITIALUPDATE); }
    void Drag(TessivMouseButton button, std::vector<POINT> const &points)
    {
        ASSERT_TRUE(TessivSendMouseGesture(view->m_hWnd, button, points.data(), points.size()));
    }
    // A matrix of the context, read inside a scene.
    kolt::MatX4 ReadMatrix(GLenum which)
    {
        kolt::MatX4 matrix;
        view->BeginScene();
        glGetDoublev(which, matrix.m);
        view->m_gl.SceneEnd();
        return matrix;
    }

    CWnd parent;
    TestView *view = nullptr;
};

TEST_F(BaseViewTest, DynamicCreationWindowClassAndRotateAxis)
{
    EXPECT_STREQ(view->GetRuntimeClass()->m_lpszClassName, "CBaseView");
    EXPECT_EQ(view->GetRuntimeClass()->m_wSchema, 0xFFFFu);
    CObject *made = RUNTIME_CLASS(CBaseView)->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CView)));
    delete made;

    EXPECT_EQ(GetClassLongPtrA(view->m_hWnd, GCL_STYLE), 0x2Bu);
    EXPECT_EQ(GetClassLongPtrA(view->m_hWnd, GCLP_HCURSOR), 0u);
    EXPECT_EQ(GetClassLongPtrA(view->m_hWnd, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(view->GetStyle() & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CLIPSIBLINGS | WS_CLIPCHILDREN);

    EXPECT_EQ(view->GetRotateAxis(), 4);
    view->GetRotateAxis() = 2;
    EXPECT_EQ(view->GetRotateAxis(), 2) << "the constraint is assignable through the reference";
}

TEST_F(BaseViewTest, InitialUpdateSetsUpOnceAndBuildsTheSceneWithNoContextCurrent)
{
    view->m_zoom = 1234;
    InitialUpdate();
    EXPECT_EQ(view->m_gl.Initialized(), 1);
    EXPECT_EQ(view->m_zoom, 500);
    EXPECT_EQ(view->builds, 1);
    EXPECT_FALSE(view->context_current_in_build);
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "no context stays current between messages";
    ExpectSameMatrix(view->m_viewNode.GetGlobalMatrix(), InitialPose().GetGlobalMatrix(), "initial pose");

    view->m_zoom = 700;
    InitialUpdate();
    EXPECT_EQ(view->m_zoom, 700) << "a second initial update changes nothing";
    EXPECT_EQ(view->builds, 1);

    // The fixed state, read back from the context.
    view->BeginScene();
    GLfloat ambient[4], specular[4], position[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    GLint depth_func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
    EXPECT_FLOAT_EQ(ambient[0], static_cast<float>(55 / 255.0));
    EXPECT_EQ(std::vector<float>(specular, specular + 4), (std::vector<float>{0.1f, 0.1f, 0.0f, 0.1f}));
    EXPECT_EQ(std::vector<float>(position, position + 4), (std::vector<float>{0, 0, 1000, 0}))
        << "the light was placed in eye coordinates";
    EXPECT_EQ(depth_func, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE) || glIsEnabled(GL_BLEND));
    view->m_gl.SceneEnd();
}

TEST_F(BaseViewTest, BaseRenderLeavesABlackFrameAndAClearedDepthBuffer)
{
    InitialUpdate();
    view->BeginScene();
    glClearColor(1, 0, 0, 1);
    glClearDepth(0.25);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    view->m_gl.Flip();
    view->m_gl.SceneEnd();

    view->SendMessage(WM_PAINT);
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(view->m_hWnd, &front));
    ASSERT_EQ(front.width, 800);
    ASSERT_EQ(front.height, 400);
    for (std::uint32_t pixel : front.pixels)
        ASSERT_EQ(pixel & 0x00FFFFFFu, 0u) << "every pixel black";
    view->BeginScene();
    GLfloat depth[2] = {0, 0};
    glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth[0]);
    glReadPixels(799, 399, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth[1]);
    view->m_gl.SceneEnd();
    EXPECT_EQ(depth[0], 1.0f);
    EXPECT_EQ(depth[1], 1.0f);
}

TEST_F(BaseViewTest, ActivationRedrawsAtOnceOnlyWhenItChanges)
{
    InitialUpdate();
    int const before = view->renders;
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_TRUE(view->IsActive());
    EXPECT_EQ(view->renders, before + 1) << "becoming active repaints synchronously";
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_EQ(view->renders, before + 1) << "already active: no redraw";
    view->OnActivateView(2, view, nullptr);
    EXPECT_FALSE(view->IsActive()) << "only 1 counts as active";
    EXPECT_EQ(view->renders, before + 2);
}

TEST_F(BaseViewTest, ProjectionsAndCameraCalls)
{
    InitialUpdate();
    kolt::MatX4 projection = ReadMatrix(GL_PROJECTION_MATRIX);
    // glOrtho(-500, 500, -250, 250, -20000, 20000) on the 800 x 400 client.
    // The context keeps its matrices in single precision.
    EXPECT_FLOAT_EQ(projection[0], 2.0 / 1000);
    EXPECT_FLOAT_EQ(projection[5], 2.0 / 500);
    EXPECT_FLOAT_EQ(projection[10], -2.0 / 40000);
    EXPECT_EQ(projection[12], 0);
    EXPECT_EQ(projection[13], 0);
    EXPECT_DOUBLE_EQ(ReadMatrix(GL_MODELVIEW_MATRIX)[14], -800) << "eye at zoom + 300";

    view->m_fixedPickSize = true;
    view->BeginScene();
    view->SetProjection(400, 0, 20);
    kolt::MatX4 pick;
    glGetDoublev(GL_PROJECTION_MATRIX, pick.m);
    view->m_gl.SceneEnd();
    EXPECT_FLOAT_EQ(pick[0], 2.0 / 1000 * 800 / 5) << "a fixed 5-pixel region";
    // Centred at OpenGL y = 400: the top edge maps to the region's centre.
    EXPECT_NEAR(pick[5] * 250 + pick[13], 0, 1e-4);

    view->Zoom(-10000);
    EXPECT_EQ(view->m_zoom, 50);
    view->Zoom(4450);
    EXPECT_EQ(view->m_zoom, 4500) << "exactly the upper bound passes";
    view->Zoom(1);
    EXPECT_EQ(view->m_zoom, 4500);

    view->SetIdentityView();
    view->SetViewDir();
    EXPECT_TRUE(Same(view->m_viewSide, kolt::Pnt3(-1, 0, 0)));
    EXPECT_TRUE(Same(view->m_viewNormal, kolt::Pnt3(0, 0, 1)));
}

TEST_F(BaseViewTest, AltDragsRotateUnderEachConstraint)
{
    InitialUpdate();
    TessivSetKeyDown(VK_MENU, true);
    float const factor = -0.01f;
    kolt::Pnt3 const x_axis(1, 0, 0), y_axis(0, 1, 0), z_axis(0, 0, 1);
    struct Case {
        int axis;
        bool ctrl;
        std::function<void(kolt::TNode &, double, double)> expected;
    };
    std::vector<Case> const cases = {
        {1, false, [&](kolt::TNode &n, double, double b) { n.Rotate(nullptr, x_axis, b); }},
        {2, false, [&](kolt::TNode &n, double a, double) { n.Rotate(&n, y_axis, a); }},
        {3, false, [&](kolt::TNode &n, double a, double) { n.Rotate(&n, z_axis, a); }},
        {3, true, [&](kolt::TNode &n, double a, double) { n.Rotate(&n, y_axis, a); }},
        {4, false,
         [&](kolt::TNode &n, double a, double b) {
             n.Rotate(&n, y_axis, a);
             n.Rotate(nullptr, x_axis, b);
         }},
        {4, true, [&](kolt::TNode &n, double a, double) { n.Rotate(&n, y_axis, a); }},
    };
    int start = 100;  // presses apart, so none makes a double click
    for (Case const &c : cases) {
        start += 60;
        view->m_viewNode = InitialPose();
        view->GetRotateAxis() = c.axis;
        TessivSetKeyDown(VK_CONTROL, c.ctrl);
        int const renders = view->renders;
        Drag(TessivMouseButton::Left, {{start, 100}, {start + 10, 130}});
        kolt::TNode expected = InitialPose();
        c.expected(expected, factor * 10.0, factor * 30.0);
        ExpectSameMatrix(view->m_viewNode.GetGlobalMatrix(), expected.GetGlobalMatrix(),
                         ("axis " + std::to_string(c.axis) + (c.ctrl ? " with Ctrl" : "")).c_str());
        EXPECT_EQ(view->renders, renders + 1) << "the move draws its frame";
        EXPECT_EQ(GetCursor(), ModuleCursor(IDC_TESSIV_ROTATE));
        EXPECT_EQ(view->GetMouseOp(), 0);
    }
    double const *inverse = view->m_viewNode.GetInvGlobalMatrix().m;
    EXPECT_TRUE(Same(view->m_viewNormal, kolt::Pnt3(inverse[8], inverse[9], inverse[10]))) << "directions follow";
}

TEST_F(BaseViewTest, AltRightDragPansAndMiddleDragZoomsWithTiesToTheHorizontal)
{
    InitialUpdate();
    TessivSetKeyDown(VK_MENU, true);
    // 1000 world units across 800 pixels: 8 pixels right and 4 down move by (10, -5).
    Drag(TessivMouseButton::Right, {{400, 200}, {408, 204}});
    double const *global = view->m_viewNode.GetGlobalMatrix().m;
    EXPECT_NEAR(global[12], 10, 1e-5);
    EXPECT_NEAR(global[13], -5, 1e-5);
    EXPECT_NEAR(global[14], 0, 1e-5);
    EXPECT_EQ(GetCursor(), ModuleCursor(IDC_TESSIV_PAN));

    Drag(TessivMouseButton::Middle, {{400, 200}, {405, 195}});
    EXPECT_EQ(view->m_zoom, 495) << "dx 5, dy -5: the tie subtracts dx";
    Drag(TessivMouseButton::Middle, {{100, 100}, {102, 103}});
    EXPECT_EQ(view->m_zoom, 498) << "dy dominant: adds dy";
    EXPECT_EQ(GetCursor(), ModuleCursor(IDC_TESSIV_ZOOM));
    Drag(TessivMouseButton::Middle, {{10, 300}, {799, 300}});
    EXPECT_EQ(view->m_zoom, 50) << "dragging right zooms in down to the clamp";
    view->m_zoom = 4400;
    Drag(TessivMouseButton::Middle, {{200, 10}, {200, 399}});
    EXPECT_EQ(view->m_zoom, 4500) << "dragging down zooms out up to the clamp";

    for (auto [flags, op] : std::vector<std::pair<UINT, int>>{{MK_LBUTTON | MK_RBUTTON, 2},
                                                               {MK_LBUTTON | MK_MBUTTON, 2},
                                                               {MK_LBUTTON, 0},
                                                               {MK_RBUTTON, 1},
                                                               {0, -1}}) {
        view->DetectMouseOp(flags);
        EXPECT_EQ(view->GetMouseOp(), op) << "flags " << flags;
    }
    TessivSetKeyDown(VK_MENU, false);
    view->DetectMouseOp(MK_LBUTTON);
    EXPECT_EQ(view->GetMouseOp(), -1) << "no Alt, no navigation";
    EXPECT_TRUE(view->m_lButtonDown);
}

TEST_F(BaseViewTest, WheelZoomsInByATenthOfTheDeltaWithinTheClamp)
{
    InitialUpdate();
    int const renders = view->renders;
    ASSERT_TRUE(TessivSendMouseWheel(view->m_hWnd, 120, {400, 200}));
    EXPECT_NEAR(view->m_zoom, 488, 1e-5);
    EXPECT_EQ(view->renders, renders + 1);
    ASSERT_TRUE(TessivSendMouseWheel(view->m_hWnd, 120 * 100, {400, 200}));
    EXPECT_EQ(view->m_zoom, 50);
    ASSERT_TRUE(TessivSendMouseWheel(view->m_hWnd, -30000, {400, 200}));
    EXPECT_EQ(view->m_zoom, 3050);
    ASSERT_TRUE(TessivSendMouseWheel(view->m_hWnd, -30000, {400, 200}));
    EXPECT_EQ(view->m_zoom, 4500);
}

TEST_F(BaseViewTest, HostModeGovernsLeftDragsAndOtherModesShowTheHostCursor)
{
    InitialUpdate();
    view->m_mouseMode = 2;
    Drag(TessivMouseButton::Left, {{400, 200}, {420, 200}});
    EXPECT_EQ(view->m_zoom, 480) << "without Alt the host's mode drives a left drag";

    // No left button: no camera change, but the point and read-out follow.
    view->m_mouseMode = 0;
    kolt::MatX4 const pose = view->m_viewNode.GetGlobalMatrix();
    ASSERT_TRUE(TessivSendMouseMove(view->m_hWnd, {300, 100}));
    ExpectSameMatrix(view->m_viewNode.GetGlobalMatrix(), pose, "hover");
    EXPECT_EQ(view->m_zoom, 480);
    EXPECT_EQ(view->m_lastPoint, CPoint(300, 100));
    EXPECT_EQ(GetCapture(), nullptr);

    view->m_mouseMode = 7;
    SetCursor(nullptr);
    ASSERT_TRUE(TessivSendMouseMove(view->m_hWnd, {310, 100}));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW)) << "an own mode with the base SetCurCursor";
    for (auto [mode, id] : std::vector<std::pair<int, int>>{
             {0, IDC_TESSIV_ROTATE}, {1, IDC_TESSIV_PAN}, {2, IDC_TESSIV_ZOOM}}) {
        view->m_mouseMode = mode;
        view->SetCurCursor();
        EXPECT_EQ(GetCursor(), ModuleCursor(id)) << "mode " << mode;
    }
}

TEST_F(BaseViewTest, ButtonFlagsAndCapture)
{
    InitialUpdate();
    HWND const window = view->m_hWnd;
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    EXPECT_TRUE(view->m_lButtonDown);
    EXPECT_EQ(GetCapture(), nullptr) << "no Alt, no capture";
    view->SendMessage(WM_LBUTTONUP, 0, At(10, 10));

    TessivSetKeyDown(VK_MENU, true);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    EXPECT_EQ(GetCapture(), window);
    view->SendMessage(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, At(10, 10));
    view->SendMessage(WM_LBUTTONUP, MK_RBUTTON, At(10, 10));
    EXPECT_FALSE(view->m_lButtonDown);
    EXPECT_EQ(GetCapture(), window) << "the right button still holds it";
    view->SendMessage(WM_RBUTTONUP, 0, At(10, 10));
    EXPECT_EQ(GetCapture(), nullptr);
    TessivSetKeyDown(VK_MENU, false);

    view->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, At(65535, 7));
    EXPECT_TRUE(view->m_mButtonDown);
    EXPECT_EQ(view->m_lastPoint, CPoint(65535, 7)) << "the words of lParam are unsigned";
    EXPECT_EQ(GetCapture(), window) << "a middle press always captures";
    view->SendMessage(WM_NCMBUTTONUP, 0, At(1, 1));
    EXPECT_FALSE(view->m_mButtonDown);
    EXPECT_EQ(GetCapture(), window) << "a non-client release leaves the capture";
    view->SendMessage(WM_MBUTTONUP, 0, At(1, 1));
    EXPECT_EQ(GetCapture(), nullptr);

    view->SendMessage(WM_MBUTTONDBLCLK, MK_MBUTTON, At(1, 1));
    EXPECT_EQ(view->zoom_alls, 1);
}

TEST_F(BaseViewTest, MouseMoveSwitchesTheResourceHandleAndRestoresItOnException)
{
    InitialUpdate();
    HINSTANCE const host = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TESSIV_VIEW_MENU), RT_MENU);
    ASSERT_NE(host, nullptr);
    AfxSetResourceHandle(host);
    HINSTANCE seen = host;
    view->on_render = [&] {
        seen = AfxGetResourceHandle();
        throw std::runtime_error("render failed");
    };
    view->m_mouseMode = 2;
    view->m_lButtonDown = true;
    EXPECT_THROW(view->OnMouseMove(MK_LBUTTON, CPoint(30, 30)), std::runtime_error);
    EXPECT_EQ(seen, TessivGetModuleResourceInstance()) << "drawn with the module's resources current";
    EXPECT_EQ(AfxGetResourceHandle(), host) << "restored as the exception passed";
    view->on_render = nullptr;
    AfxSetResourceHandle(nullptr);
}

TEST_F(BaseViewTest, ContextMenuComesFromTheResourceChainAtTheGivenPoint)
{
    TessivSetPopupMenuChoice(0);
    view->MouseClick(IDR_TESSIV_VIEW_MENU, CPoint(123, 45));
    TessivPopupMenuCall const call = TessivLastPopupMenu();
    EXPECT_NE(call.menu, nullptr);
    EXPECT_EQ(call.flags, TPM_RIGHTBUTTON);
    EXPECT_EQ(call.screen_point.x, 123);
    EXPECT_EQ(call.screen_point.y, 45);
    EXPECT_EQ(call.owner, view->m_hWnd);
    view->MouseClick(999, CPoint(1, 1));  // no such menu: nothing shown
}

TEST_F(BaseViewTest, NoContextZeroSizeAndMessagesAfterDestroyNeverCrash)
{
    // Before the initial update: navigation still updates the camera state.
    TessivSetKeyDown(VK_MENU, true);
    Drag(TessivMouseButton::Middle, {{100, 100}, {90, 100}});
    EXPECT_EQ(view->m_zoom, 510);
    view->SendMessage(WM_SIZE, 0, At(300, 200));
    EXPECT_EQ(view->m_gl.Width(), -1) << "resize before the context is default processing only";

    InitialUpdate();
    view->MoveWindow(0, 0, 0, 0);
    EXPECT_EQ(view->m_gl.Width(), 5);
    EXPECT_EQ(view->m_gl.Height(), 5);
    view->SendMessage(WM_PAINT);
    view->MoveWindow(0, 0, 800, 400);

    view->SendMessage(WM_DESTROY);
    EXPECT_EQ(view->m_gl.Initialized(), 0);
    EXPECT_EQ(view->m_gl.RenderingContext(), nullptr);
    Drag(TessivMouseButton::Right, {{100, 100}, {120, 110}});
    EXPECT_TRUE(Same(view->m_lastPoint3D, kolt::Pnt3(0, 0, 0))) << "no context: world points are the origin";
    EXPECT_EQ(view->m_viewNode.GetGlobalMatrix()[12], 0) << "and a pan moves nothing";
    ASSERT_TRUE(TessivSendMouseWheel(view->m_hWnd, 120, {1, 1}));
    view->SendMessage(WM_PAINT);
    view->SendMessage(WM_SIZE, 0, At(10, 10));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    InitialUpdate();
    EXPECT_EQ(view->m_gl.Initialized(), 1) << "a later initial update makes the context again";
    EXPECT_EQ(view->builds, 2);
}

}  // namespace
