// Lifecycle, message map and render loop of CBaseView.
#include <tessiv/view/base_view.h>

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
      m_mButtonDown(false), m_rButtonDown(false), m_mouseMode(-1), m_mouseOp(-1), m_ambientColor(0x373737),
      m_ambientAlpha(1.0f)
{
    m_textAgent.Init();
}

CBaseView::~CBaseView() = default;

BOOL CBaseView::PreCreateWindow(CREATESTRUCT &cs) { return CView::PreCreateWindow(cs); }
void CBaseView::OnInitialUpdate() { CView::OnInitialUpdate(); }
void CBaseView::OnActivateView(BOOL a, CView *b, CView *c) { CView::OnActivateView(a, b, c); }
void CBaseView::OnDraw(CDC *) { Render(); }
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
void CBaseView::Render() {}
BOOL CBaseView::OnEraseBkgnd(CDC *) { return TRUE; }
void CBaseView::OnDestroy() { CView::OnDestroy(); }
void CBaseView::OnSize(UINT, int, int) { Default(); }
void CBaseView::OnSetFocus(CWnd *pOldWnd) { CWnd::OnSetFocus(pOldWnd); }
void CBaseView::OnKillFocus(CWnd *) { Default(); }
void CBaseView::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CBaseView::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CBaseView::BeginScene() {}
