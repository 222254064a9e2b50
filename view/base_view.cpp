// Lifecycle, message map and render loop of CBaseView.
#include <tessiv/view/base_view.h>

#include <tessiv/platform/winuser.h>

#include <GL/gl.h>

IMPLEMENT_DYNCREATE(CBaseView, CView)

BEGIN_MESSAGE_MAP(CBaseView, CView)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_MBUTTONDBLCLK()
ON_WM_MOUSEWHEEL()
ON_WM_RBUTTONUP()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_KEYUP()
ON_WM_KEYDOWN()
ON_WM_NCLBUTTONUP()
ON_WM_NCMBUTTONUP()
ON_WM_NCRBUTTONUP()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CBaseView::CBaseView()
    : m_pOperation(nullptr), m_pStatusBar(nullptr), m_zoom(500), m_lookAt(0, 0, 0), m_viewSide(0, 0, 0),
      m_viewNormal(0, 0, 0), m_active(false), m_rotateAxis(4), m_showDrawingLines(true), m_fileOpen(false),
      m_fixedPickSize(false), m_lastPoint(0, 0), m_lastPoint3D(0, 0, 0), m_lButtonDown(false),
      m_mButtonDown(false), m_rButtonDown(false), m_mouseMode(kMouseNone), m_mouseOp(kMouseNone),
      m_ambientColor(0x373737), m_ambientAlpha(1.0f)
{
    m_textAgent.Init();
}

// Members go in reverse declaration order: the text agent, then the viewing
// node, then the context, whose destructor finds no handles after OnDestroy.
CBaseView::~CBaseView() = default;

BOOL CBaseView::PreCreateWindow(CREATESTRUCT &cs)
{
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    // A private DC for the GL context; no class cursor, so the view sets
    // every cursor it shows.
    cs.lpszClass = AfxRegisterWndClass(CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr);
    return CView::PreCreateWindow(cs);
}

void CBaseView::BeginScene() { m_gl.SceneBegin(); }

void CBaseView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (m_gl.Initialized())
        return;

    m_viewNode.SetIdentity();
    m_viewNode.Rotate(&m_viewNode, kolt::Pnt3(0, 1, 0), -0.8726646259971648);
    m_viewNode.Rotate(nullptr, kolt::Pnt3(1, 0, 0), -0.17453292519943295);
    m_zoom = 500;
    m_gl.Create(m_hWnd, 1);

    BeginScene();
    SetProjection();

    // The fixed state; all constants are single precision.
    static GLfloat const material_ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    static GLfloat const material_diffuse[] = {0.4f, 0.4f, 0.4f, 1.0f};
    static GLfloat const material_specular[] = {0.8f, 0.8f, 0.8f, 1.0f};
    static GLfloat const material_shininess[] = {128.0f};
    static GLfloat const light_diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    static GLfloat const light_specular[] = {0.1f, 0.1f, 0.0f, 0.1f};
    // Directional from +z, set while the model-view is the identity, so the
    // light stays on the viewer's side whatever the camera does.
    static GLfloat const light_position[] = {0.0f, 0.0f, 1000.0f, 0.0f};
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material_ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material_diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material_specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, material_shininess);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light_diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light_specular);
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 60.0f);
    glEnable(GL_LIGHT0);
    GLfloat const ambient[] = {
        static_cast<GLfloat>(GetRValue(m_ambientColor) / 255.0),
        static_cast<GLfloat>(GetGValue(m_ambientColor) / 255.0),
        static_cast<GLfloat>(GetBValue(m_ambientColor) / 255.0),
        m_ambientAlpha,
    };
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHTING);
    glDepthRange(0.0, 1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);

    SetProjection();
    SetModelView();
    m_gl.SceneEnd();
    BuildScene();
}

void CBaseView::OnDraw(CDC *) { Render(); }

void CBaseView::Render()
{
    BeginScene();
    SetProjection();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    m_gl.Flip();
    m_gl.SceneEnd();
}

BOOL CBaseView::OnEraseBkgnd(CDC *) { return TRUE; }

void CBaseView::OnSize(UINT, int, int)
{
    Default();
    if (!m_gl.Initialized())
        return;
    m_gl.OnSize();
    BeginScene();
    SetProjection();
    m_gl.SceneEnd();
}

void CBaseView::OnActivateView(BOOL bActivate, CView *pActivateView, CView *pDeactiveView)
{
    bool const active = bActivate == 1;
    if (active != m_active) {
        m_active = active;
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    } else {
        m_active = active;
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CBaseView::OnDestroy()
{
    // Cgl::Release: no context current, context and DC given back, not initialised.
    m_gl.Release();
    CView::OnDestroy();
}

void CBaseView::OnSetFocus(CWnd *pOldWnd) { CWnd::OnSetFocus(pOldWnd); }
void CBaseView::OnKillFocus(CWnd *) { Default(); }
void CBaseView::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CBaseView::OnKeyDown(UINT, UINT, UINT) { Default(); }

void CBaseView::BuildScene() {}
void CBaseView::FileNew() {}
void CBaseView::FileOpen() {}
bool CBaseView::FileSave() { return false; }
void CBaseView::FileSaveAs() {}
bool CBaseView::IsFileOpen() const { return m_fileOpen; }
void CBaseView::UnDo() {}
void CBaseView::ReDo() {}
bool CBaseView::IsCanUnDo() const { return false; }
bool CBaseView::IsCanReDo() const { return false; }
bool CBaseView::IsCanCut() const { return false; }
bool CBaseView::IsCanCopy() const { return false; }
bool CBaseView::IsCanPaste() const { return false; }
