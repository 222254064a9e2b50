// CBaseView: the OpenGL view that host applications derive their 3D document
// views from. It owns a rendering context on its own window, a viewing node
// that turns and moves the scene under a fixed orthographic camera on +z,
// the selection buffer for picking and a text agent for 3D labels; it turns
// mouse input into rotate, pan and zoom, picks through the selection buffer,
// draws overlay aids and writes the world point under the mouse into the
// host's status bar.
#pragma once

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/windef.h>
#include <tessiv/render/cgl.h>
#include <tessiv/scene/tnode.h>
#include <tessiv/siblings/zt_base/text_agent.h>

class CBaseOperation;
class CStatusBar;

// The view a host derives from. It draws no scene itself: its Render clears
// the frame to black. A deriving view overrides Render (keeping the bracket
// scene begin, SetProjection, clear, draw, Flip, SceneEnd), BuildScene,
// ZoomAll, the file and edit hooks and SetCurCursor, and sets the protected
// fields that connect it to the host (status bar, operation, mouse mode).
// Every OpenGL use is bracketed by a make-current and Cgl::SceneEnd, so no
// context is current between messages and several views share the thread.
// Owns m_gl, m_viewNode, m_textAgent and the selection buffer; borrows the
// status bar and the operation object.
class CBaseView : public CView {
    DECLARE_DYNCREATE(CBaseView)

public:
    // Mouse operation codes of m_mouseOp and the navigation modes of m_mouseMode.
    static constexpr int kMouseNone = -1;
    static constexpr int kMouseRotate = 0;
    static constexpr int kMousePan = 1;
    static constexpr int kMouseZoom = 2;
    // Size of the selection buffer, in 32-bit values.
    static constexpr int kSelectBufferSize = 20000;
    // The name BeginPicking pushes under every object's own name.
    static constexpr int kPickBaseName = 30000;

    // Fields take their documented defaults; the text agent's Init runs last.
    CBaseView();
    // Destroys the text agent, then the viewing node, then the context.
    ~CBaseView() override;

    // Window class with CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, no
    // cursor, no brush; adds WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
    BOOL PreCreateWindow(CREATESTRUCT &cs) override;
    // Middle button down and up (they have no map entry); the rest unchanged.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Once per successful context creation: initial pose, context, fixed
    // OpenGL state, then BuildScene with no context current.
    void OnInitialUpdate() override;
    // Redraws at once when the activation state changes (only 1 is active).
    void OnActivateView(BOOL bActivate, CView *pActivateView, CView *pDeactiveView) override;
    // Ignores the device context and calls Render.
    void OnDraw(CDC *pDC) override;

    // Own virtual operations, in their slot order.
    // Writes point, scaled to the operation's unit, into panes 1 to 3.
    virtual void ShowStatusCoordinateInfo(kolt::Pnt3 const &point);
    // Writes the world point under pixel into panes 1 to 3.
    virtual void ShowStatusCoordinateInfo(CPoint const &pixel);
    // Nothing; called once after the first OnInitialUpdate, no context current.
    virtual void BuildScene();
    // Loads the camera's look-at matrix: eye at (look-at x, y, zoom + 300).
    virtual void SetModelView();
    // Recomputes m_viewSide and m_viewNormal from the inverse global matrix.
    virtual void SetViewDir();
    // Loads the orthographic projection of half-width m_zoom; leaves GL_MODELVIEW current.
    virtual void SetProjection();
    // Loads a pick region around (x, y) (client pixels) times the orthographic projection.
    virtual void SetProjection(int x, int y, double size);
    // Nothing; called on a middle-button double click.
    virtual void ZoomAll();
    // Moves the viewing node by offset in its parent frame.
    virtual void Translate(kolt::Pnt3 const &offset);
    // Nothing; a hook for deriving views.
    virtual void Rotate(double a, double b, double c);
    // File and edit hooks for the host's commands; the module never calls them.
    virtual void FileNew();                // nothing
    virtual void FileOpen();               // nothing
    virtual bool FileSave();               // false
    virtual void FileSaveAs();             // nothing
    virtual bool IsFileOpen() const;       // m_fileOpen
    virtual void UnDo();                   // nothing
    virtual void ReDo();                   // nothing
    virtual bool IsCanUnDo() const;        // false
    virtual bool IsCanReDo() const;        // false
    virtual bool IsCanCut() const;         // false
    virtual bool IsCanCopy() const;        // false
    virtual bool IsCanPaste() const;       // false
    // Shows the cursor of m_mouseMode (rotate, pan, zoom or the arrow).
    virtual void SetCurCursor();
    // Clears the frame to black (colour and depth) and presents it.
    virtual void Render();

    // State.
    bool IsActive() const { return m_active; }                  // this is the frame's active view
    int &GetRotateAxis() { return m_rotateAxis; }               // rotation constraint, assignable
    int GetMouseOp() const { return m_mouseOp; }                // detected navigation operation

    // Camera (none of these begins a scene).
    // Loads a perspective projection (fovy in degrees, near 100, far 20000).
    void SetPerView(double fovy);
    // Resets the viewing node to the identity.
    void SetIdentityView();
    // Standard three-quarter pose: +45 deg about own y, -10 deg about parent x,
    // down 75, zoom 300.
    void SetPerspectiveView();
    // Adds delta to m_zoom and clamps it to [50, 4500].
    void Zoom(double delta);
    // Multiplies the viewing node's global matrix onto the current matrix.
    void RotAxis();

    // Mouse navigation.
    // Sets the button flags from MK_ bits and detects m_mouseOp from Alt and the buttons.
    void DetectMouseOp(UINT flags);
    // Shows the first submenu of menu menuId (host's resource chain) at a screen point.
    void MouseClick(UINT menuId, CPoint point);
    // Returns TRUE and changes nothing; not in the base map.
    afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
    // Do nothing; only the left one is in the base map.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);

    // Picking: BeginPicking, the deriving view's named drawing, then exactly one end.
    // Begins a scene in selection mode with a size x size pixel region around point.
    void BeginPicking(CPoint const &point, double size);
    // Nearest name; -1 no hit; -2 several records all at the same depth.
    int EndPicking();
    // Nearest name; -1 no hit.
    int EndPicking_Plane();
    // Nearest and farthest names, each -1 when nothing was hit.
    void EndPicking(int &nearest, int &farthest);
    // Every name of every record in buffer order; true when any was found.
    bool EndPicking(kolt::cvector<int> &names);
    // Every name ordered by its record's depth, nearest first; true when any was found.
    bool EndPickingOnView(kolt::cvector<int> &names);

    // Overlay aids, drawn inside a begun scene (Render's bracket).
    // A square outline of size pixels around point, pushed 2000 along m_viewSide.
    void DrawRectAroundPoint(CPoint pixel, kolt::Pnt3 point, double size, DWORD colour);
    // Snaps current to the horizontal or vertical through start; true when it fits.
    bool GetHoriPointOrVertPoint(CPoint start, CPoint current, double tolerance, CPoint &snapped);
    // An open arrow head with its tip at (x, y, z); direction 0 -x, 1 +x, 2 +y, 3 -y.
    void DrawArrow(double x, double y, double z, int direction, double size);
    // An arc in z = 0 symmetric about +x, in one-degree segments.
    void DrawArc(double radius, double sweep);
    // Bracket for geometry that faces the viewer (rotation removed, position kept).
    void billboardCheatSphericalBegin();
    void billboardEnd();
    // Window pixels of world points; begins and ends its own scene.
    void ConvertVecToPoint(kolt::cvector<kolt::Pnt3> &points, kolt::cvector<CPoint> &pixels);
    // Switch for drawing aids; nothing in the module reads it.
    void SetShowDrawingLines() { m_showDrawingLines = true; }
    void SetHideDrawingLines() { m_showDrawingLines = false; }
    bool IsShowDrawingLines() const { return m_showDrawingLines; }

    // Message handlers, in the order of the message map.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);    // flag, world point, capture with Alt
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);      // flag, capture release
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);    // flag, capture with Alt
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);      // rotate, pan, zoom, cursor, read-out
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);  // ZoomAll
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);  // zoom by the wheel
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);      // flag, capture release
    afx_msg BOOL OnEraseBkgnd(CDC *pDC);                      // TRUE, erases nothing
    afx_msg void OnDestroy();                                 // releases the context
    afx_msg void OnSize(UINT nType, int cx, int cy);          // new viewport and projection
    afx_msg void OnSetFocus(CWnd *pOldWnd);                   // default
    afx_msg void OnKillFocus(CWnd *pNewWnd);                  // default
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);    // default
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);  // default
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);  // clears the left flag
    afx_msg void OnNcMButtonUp(UINT nHitTest, CPoint point);  // clears the middle flag
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);  // clears the right flag

protected:
    // Middle button for a deriving view's own map: as the DefWindowProc path,
    // without default processing.
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);

    // Makes m_gl's context current (the steps of Cgl::SceneBegin).
    void BeginScene();
    // Takes the mouse capture unless this view already holds it.
    void TakeCapture();
    // Releases the capture when none of the three button flags is set.
    void ReleaseCaptureIfNoButton();
    // G^-1 * (0, 0, m_zoom - 50, 0): the depth reference of mouse conversions.
    kolt::Pnt3 MouseReferencePoint() const;
    // Shows cursor resource id from the module resource instance.
    static void ShowModuleCursor(int id);

    // Fields, in the system's declaration order.
    Cgl m_gl;                               // rendering context on this view's window
    CBaseOperation *m_pOperation;           // host's document operation (borrowed): unit and format
    CStatusBar *m_pStatusBar;               // host's status bar (borrowed); null: no read-out
    double m_zoom;                          // half-width of the orthographic volume, [50, 4500]
    kolt::Pnt3 m_lookAt;                    // x, y the camera looks at; z unused
    kolt::Pnt3 m_viewSide;                  // scene direction of the screen's -x axis
    kolt::Pnt3 m_viewNormal;                // scene direction of the screen's +z axis
    bool m_active;                          // frame's active view
    int m_rotateAxis;                       // rotation constraint (1, 2, 3, other)
    kolt::TNode m_viewNode;                 // viewing rotation and translation of the scene
    CTextAgent m_textAgent;                 // agent for 3D labels
    unsigned int m_selectBuffer[kSelectBufferSize];  // OpenGL selection buffer, uninitialised
    bool m_showDrawingLines;                // drawing aids switch
    bool m_fileOpen;                        // returned by IsFileOpen
    bool m_fixedPickSize;                   // pick regions always 5 x 5 pixels
    CPoint m_lastPoint;                     // last mouse position, client pixels
    kolt::Pnt3 m_lastPoint3D;               // world point at the last press or move
    bool m_lButtonDown;                     // left button believed held
    bool m_mButtonDown;                     // middle button believed held
    bool m_rButtonDown;                     // right button believed held
    int m_mouseMode;                        // host's persistent mode: 0 rotate, 1 pan, 2 zoom, other own
    int m_mouseOp;                          // detected operation: -1 none, 0 rotate, 1 pan, 2 zoom
    COLORREF m_ambientColor;                // global ambient light colour (0x00BBGGRR)
    float m_ambientAlpha;                   // global ambient light alpha

    DECLARE_MESSAGE_MAP()
};
