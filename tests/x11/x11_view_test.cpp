// A CBaseView in a real X window: real pointer drags and wheel turns (XTest)
// move the camera exactly as the same gestures posted on the headless
// backend, a real click picks, and the frame read back through X matches
// the headless frame. The headless side runs in a child process, since a
// process runs on one backend.
#include <tessiv/tests/x11/x11_session.h>

#include <tessiv/platform/headless.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/view/base_view.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <X11/keysym.h>

// Mesa's software rasteriser keeps selection-mode storage past the
// context's end; see tests/view/view_pick_test.cpp.
extern "C" char const *__lsan_default_suppressions() { return "leak:swrast_dri.so\n"; }

namespace {

// A host view: a red square (name 5) at the scene origin before a blue one
// (name 9) to its right; every move detects the navigation operation, a
// plain left click picks.
class SceneView : public CBaseView {
public:
    using CBaseView::m_viewNode;
    using CBaseView::m_zoom;
    int picked = -1;

    void Draw(bool named)
    {
        glDisable(GL_LIGHTING);
        if (named)
            glLoadName(5);
        glColor3d(1, 0, 0);
        Square(0, 0, 40);
        if (named)
            glLoadName(9);
        glColor3d(0, 0, 1);
        Square(90, 0, 30);
    }
    static void Square(double x, double y, double half)
    {
        glBegin(GL_QUADS);
        glVertex3d(x - half, y - half, 0);
        glVertex3d(x + half, y - half, 0);
        glVertex3d(x + half, y + half, 0);
        glVertex3d(x - half, y + half, 0);
        glEnd();
    }
    void Render() override
    {
        BeginScene();
        SetProjection();
        SetModelView();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Draw(false);
        m_gl.Flip();
        m_gl.SceneEnd();
    }
    afx_msg void OnLButtonDown(UINT flags, CPoint point)
    {
        CBaseView::OnLButtonDown(flags, point);
        if (GetAsyncKeyState(VK_MENU) < 0)
            return;
        BeginPicking(point, 4);
        Draw(true);
        picked = EndPicking();
    }
    afx_msg void OnMouseMove(UINT flags, CPoint point)
    {
        DetectMouseOp(flags);
        CBaseView::OnMouseMove(flags, point);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SceneView, CBaseView)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

// The view's client area: kWidth x kHeight at (kLeft, kTop) on the screen,
// inside a one-pixel border (so on X, GL draws into a child over the client
// area).
constexpr int kLeft = 61, kTop = 51, kWidth = 400, kHeight = 300;

// The view on its host window, past its first update, with the viewing node
// reset (scene origin at the centre, one unit a pixel).
struct Host {
    CWnd frame;
    SceneView *view = nullptr;
    bool Open()
    {
        if (!frame.CreateEx(0, AfxRegisterWndClass(0), "x11 view host", WS_POPUP | WS_VISIBLE, kLeft - 1, kTop - 1,
                            kWidth + 2, kHeight + 2, nullptr, nullptr))
            return false;
        view = new SceneView;
        if (!view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, kWidth + 2, kHeight + 2),
                          &frame, AFX_IDW_PANE_FIRST))
            return false;
        view->SendMessage(WM_INITIALUPDATE);
        view->SetIdentityView();
        view->SetViewDir();
        view->m_zoom = kWidth / 2.0;
        return true;
    }
    ~Host()
    {
        if (frame.m_hWnd)
            frame.DestroyWindow();
    }
};

std::vector<POINT> const kDrag = {{150, 120}, {160, 131}, {178, 150}, {190, 171}};
POINT const kWheelAt{200, 150};
int const kWheel[] = {120, -120, -120};

// The camera as text: the 16 entries of the viewing node's global matrix
// and the zoom, each as exactly as printf gives them.
std::string Camera(SceneView *view)
{
    std::ostringstream out;
    double const *m = view->m_viewNode.GetGlobalMatrix().m;
    char buffer[40];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(buffer, sizeof buffer, "%.17g ", m[i]);
        out << buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.17g", view->m_zoom);
    out << buffer;
    return out.str();
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Runs the headless side and returns its lines: the camera after the
// gesture, then the frame's pixels as hex words.
std::vector<std::string> HeadlessLines()
{
    RoleProcess child;
    std::vector<std::string> lines;
    if (!child.Start("headless-reference", {"TESSIV_BACKEND=headless"}))
        return lines;
    std::string line;
    while (child.ReadLine(&line, 60000))
        lines.push_back(line);
    if (child.Wait(10000) != 0)
        lines.clear();
    return lines;
}

class X11ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_X11();
        session = &X11Session::Get();
        ASSERT_TRUE(host.Open());
        host.view->Invalidate();
        session->Settle();
    }
    void TearDown() override
    {
        if (session)
            session->Key(XK_Alt_L, false);
    }
    X11Session *session = nullptr;
    Host host;
};

TEST_F(X11ViewTest, RealDragsAndWheelTurnsMoveTheCameraAsPostedOnes)
{
    std::vector<std::string> headless = HeadlessLines();
    ASSERT_GE(headless.size(), 2u) << "the headless reference ran";

    session->Key(XK_Alt_L, true);
    session->MoveTo(kLeft + kDrag[0].x, kTop + kDrag[0].y);
    session->Button(1, true);
    for (std::size_t i = 1; i < kDrag.size(); ++i)
        session->MoveTo(kLeft + kDrag[i].x, kTop + kDrag[i].y);
    session->Button(1, false);
    session->Key(XK_Alt_L, false);
    session->MoveTo(kLeft + kWheelAt.x, kTop + kWheelAt.y);
    for (int delta : kWheel) {
        unsigned button = delta > 0 ? 4 : 5;
        session->Button(button, true);
        session->Button(button, false);
    }
    EXPECT_EQ(Camera(host.view), headless[0]) << "same gesture, same camera";
    EXPECT_NE(headless[0].substr(0, 8), "1 0 0 0 ") << "the drag turned the camera";
    EXPECT_EQ(GetCapture(), nullptr) << "the drag's capture ended with it";

    // The frame on the screen against the headless frame of the same camera.
    host.view->Invalidate();
    session->Settle();
    TessivFrontBuffer frame;
    ASSERT_TRUE(TessivReadFrontBuffer(host.view->m_hWnd, &frame));
    std::istringstream words(headless[1]);
    int width = 0, height = 0;
    words >> width >> height;
    ASSERT_EQ(frame.width, width);
    ASSERT_EQ(frame.height, height);
    std::size_t differing = 0, coloured = 0;
    for (std::uint32_t pixel : frame.pixels) {
        std::uint32_t expected = 0;
        words >> std::hex >> expected;
        coloured += (pixel & 0xFFFFFF) != 0;
        for (int shift : {0, 8, 16}) {
            int a = static_cast<int>((pixel >> shift) & 0xFF), b = static_cast<int>((expected >> shift) & 0xFF);
            if (std::abs(a - b) > 8) {
                ++differing;
                break;
            }
        }
    }
    EXPECT_GT(coloured, 1000u) << "the squares are on the screen";
    EXPECT_LE(differing, frame.pixels.size() / 1000) << "within a thousandth of the headless frame";
}

TEST_F(X11ViewTest, ARealClickPicksTheSquareUnderThePointer)
{
    host.view->Invalidate();
    session->Settle();
    // The red square is round the centre, the blue one 90 units to its right.
    session->MoveTo(kLeft + kWidth / 2, kTop + kHeight / 2);
    session->Button(1, true);
    session->Button(1, false);
    EXPECT_EQ(host.view->picked, 5);
    session->MoveTo(kLeft + kWidth / 2 + 90, kTop + kHeight / 2 + 10);
    session->Button(1, true);
    session->Button(1, false);
    EXPECT_EQ(host.view->picked, 9);
    session->MoveTo(kLeft + 10, kTop + 10);
    session->Button(1, true);
    session->Button(1, false);
    EXPECT_EQ(host.view->picked, -1) << "nothing there";
}

}  // namespace

int HeadlessReferenceRole()
{
    Host host;
    if (!host.Open())
        return 2;
    TessivSetKeyDown(VK_MENU, true);
    TessivPostMouseGesture(host.view->m_hWnd, TessivMouseButton::Left, kDrag.data(), kDrag.size());
    Pump();
    TessivSetKeyDown(VK_MENU, false);
    for (int delta : kWheel)
        TessivPostMouseWheel(host.view->m_hWnd, delta, kWheelAt);
    Pump();
    std::printf("%s\n", Camera(host.view).c_str());
    host.view->Invalidate();
    Pump();
    TessivFrontBuffer frame;
    if (!TessivReadFrontBuffer(host.view->m_hWnd, &frame))
        return 3;
    std::printf("%d %d", frame.width, frame.height);
    for (std::uint32_t pixel : frame.pixels)
        std::printf(" %x", static_cast<unsigned>(pixel));
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}
